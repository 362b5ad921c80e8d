#include "support/tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

TempDir::TempDir()
{
    char tmpl[] = "/tmp/kelvora-test.XXXXXX";
    if (!mkdtemp(tmpl))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}
