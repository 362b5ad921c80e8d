// Temporary files of runs that were killed (kill -9 leaves them): each name
// carries its process's id, and a later run removes those of its own kind whose
// process is gone -- only names of exactly the form it writes, only regular
// files of this user.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// ".<pid>.XXXXXX" behind a temporary file's stem: the pid at most 10 digits.
constexpr std::size_t TemporarySuffix = 1 + 10 + 1 + 6;

// Removes below dirfd (an open directory or AT_FDCWD) the files
// ".<stem>.<pid>.XXXXXX" whose stem ours() accepts and whose process is gone.
void removeStaleTemporaries(int dirfd, const std::function<bool(const std::string &stem)> &ours);
// The same for "<prefix><pid>.XXXXXX".
void removeStaleNamed(int dirfd, const std::string &prefix);
