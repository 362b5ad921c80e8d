// The built-in resource table read without X: the texts the window shows,
// for programs and code that run without a display.  The window itself reads
// them through Xt, so that a user's resources can replace them.
#pragma once

#include <string>
#include <vector>

// The value of the line named exactly key ("*steuer*rnr1.caption"), as Xt
// would read it ("\ " a blank, "\n" a line feed); "" when there is none.
std::string builtinResource(const std::string &key);
// A list value ("Aus, Intern, Extern" or quoted items) split as the toolkit
// splits its strings and captions.
std::vector<std::string> builtinList(const std::string &key);
// A caption or item as a label: leading and trailing blanks and a trailing
// ':' gone ("  AB #1:" reads "AB #1").
std::string labelText(const std::string &text);
