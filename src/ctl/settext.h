// kelvoractl set, apply and edit: fields changed as text, in show's words, on
// a file or on the PBX itself.
#pragma once

#include "ctl.h"

#include <set>
#include <string>
#include <vector>

// set FILE LABEL=VALUE...   set --pbx [--yes] [--dry-run] LABEL=VALUE...
int setFields(const Invocation &invocation, const std::vector<std::string> &operands,
              const std::set<std::string> &flags);
// apply TEXT FILE           apply --pbx [--yes] [--dry-run] TEXT
int applyText(const Invocation &invocation, const std::vector<std::string> &operands,
              const std::set<std::string> &flags);
// edit FILE
int editFile(const Invocation &invocation, const std::vector<std::string> &operands);
