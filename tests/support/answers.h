// Answers for the modal dialogs a button opens: queued before the press, each
// runs once a dialog of its kind is up, so several can wait in a row.
#pragma once

#include <X11/Intrinsic.h>
#include <functional>
#include <memory>
#include <string>

bool isFileBox(Widget w);
bool isPrompt(Widget w);
bool isQuestion(Widget w);

// Runs f on the first active dialog of the kind within 5 s (a failure when none
// comes); with asked, within 1 s and no failure, *asked telling whether it came.
// Setting the returned flag drops the answer if it has not run.
using AnswerTicket = std::shared_ptr<bool>;
AnswerTicket whenUp(bool (*kind)(Widget), std::function<void(Widget)> f, bool *asked = nullptr);

// A file for the next file dialog (cancel when empty).
void answerFile(const std::string &path);
// "Ja"/"Nein" (or OK/cancel) for the next question.
void answerQuestion(bool yes, bool *asked = nullptr);
