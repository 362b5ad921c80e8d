// What the speed-dial tests share: the dialog built once and driven by its
// buttons, answers for the dialogs it opens, and speed-dial files.
#pragma once

#include "../config/program.h" // gtest before X11

#include "../basic/env.h"
#include "support/answers.h"
#include "support/tempdir.h"

#include <string>
#include <vector>

// kwz_dlg, built by opening and closing it once; its buttons work while it is closed.
Widget kwzDialog();
// Presses a button of kwz_dlg as a click would (its sensitivity is not looked at).
void press(const char *button);
bool usable(const char *button);
std::string listLine(int position); // 1-based, as the list counts
int listCount();
void selectLine(int position);

// The integer prompt's answer (files and questions: support/answers.h).
void answerInteger(int value);

// A zeroed record with the given counters (present, changes, files, prefixes).
void freshKwz(int present = 0, int changes = 0, int files = 0, int prefixes = 0);
void setEntry(int i, const char *name, const char *number);

// A speed-dial file: the mark, then entry i numbered 1000 + i and named "N<i>".
std::vector<char> kwzFile(const char *mark = "KwDaten");
std::vector<char> fileBytes(const std::string &path);
void writeBytes(const std::string &path, const std::vector<char> &bytes);

// The dialog with a directory of two entries: 105 "Praxis Dr. Maier" and 230
// "Werkstatt", shown in its list.
class KwzDialog : public ::testing::Test {
protected:
    void SetUp() override;
};
