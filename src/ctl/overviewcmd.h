// kelvoractl overview and check: the page and the findings of a configuration
// file, from the core's one reading of what it means.
#pragma once

#include "show/describe.h"

#include <functional>
#include <map>
#include <string>

// Loads a file of any kind ("-" standard input); its exit status, having said why.
using ImageLoader = std::function<int(const std::string &path, FileImage &image)>;

// The page of a configuration with the files the options name (--speeddial,
// --subscribers, --calls-out, --calls-in); Success and the page, else the
// exit status after saying why.
int overviewOf(const std::string &config, const std::map<std::string, std::string> &options, const ImageLoader &load,
               std::string &page);
// One line per finding on standard output: 0 none, 1 some, 3 file trouble.
int checkConfig(const std::string &config, const ImageLoader &load);
