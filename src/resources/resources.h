// The built-in resource table: X resource lines for the main window and every
// dialog, one source file per dialog.  Texts are ISO 8859-1 (the build turns the
// UTF-8 sources into Latin-1).
#pragma once

// Each file's lines, one resource per line; lines starting with '!' or '#' and
// empty lines are comments.
extern const char res_common[];     // shared by all windows: fonts, input fields
extern const char res_main[];       // main window
extern const char res_help[];       // main window help text
extern const char res_messages[];   // named messages (wrongFile, ...)
extern const char res_rufzuord[];   // internal numbers
extern const char res_anltyp[];     // PBX type and ports
extern const char res_msns[];       // MSNs of a port
extern const char res_zuord[];      // MSN assignment

// All lines, NUL-terminated array, built on first use.
const char **kelvoraFallbackResources();
