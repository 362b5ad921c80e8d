// The version both programs print.
#pragma once

constexpr const char *KelvoraVersion = "0.0.7";
