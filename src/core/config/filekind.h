// The three kinds of file, which are also the record's parts saved, programmed
// and backed up on their own.
#pragma once

enum class FileKind { Configuration, SpeedDial, Subscribers };
