// The built-in resource table: X resource lines for the main window and every
// dialog, one source file per section.  Texts are ISO 8859-1 (the build turns the
// UTF-8 sources into Latin-1).
#pragma once

// The sections, in the order they go into the table; each is defined as
// `const char res_<name>[]` in its own file.  Add a dialog's section here.
#define KELVORA_RESOURCE_SECTIONS(X)                                                                             \
    X(common)   /* shared by all windows: fonts, input fields, standard buttons */                              \
    X(main)     /* main window */                                                                               \
    X(port)     /* the serial line */                                                                           \
    X(help)     /* main window help text, beside its lines */                                                   \
    X(messages) /* named messages and file dialogs */                                                           \
    X(rufzuord) /* internal numbers */                                                                          \
    X(anltyp)   /* PBX type and ports */                                                                        \
    X(msns)     /* MSNs of a port */                                                                            \
    X(zuord)    /* MSN assignment */                                                                            \
    X(globdat)  /* global PBX data */                                                                           \
    X(steuer)   /* control contacts */                                                                          \
    X(tlnperm)  /* extension permissions */                                                                     \
    X(teltyp)   /* terminal types */                                                                            \
    X(amtsperm) /* trunk permissions */                                                                         \
    X(calldist) /* call distribution */                                                                         \
    X(gebdat)   /* charge settings */                                                                           \
    X(loccharge) /* internal rates */                                                                           \
    X(gebzahl)  /* charge counters */                                                                          \
    X(outcalls) /* outgoing call list */                                                                       \
    X(incalls)  /* incoming call list */                                                                       \
    X(tndat)    /* subscriber data */                                                                          \
    X(kwz)      /* speed-dial directory, its editor and file dialogs */                                         \
    X(nahsperr) /* local-area and blocked prefixes */                                                         \
    X(overview) /* the overview page, the check and its findings */

#define KELVORA_DECLARE_SECTION(name) extern const char res_##name[];
KELVORA_RESOURCE_SECTIONS(KELVORA_DECLARE_SECTION)
#undef KELVORA_DECLARE_SECTION

// All lines, NUL-terminated array, built on first use.  Lines starting with '!'
// or '#' and empty lines are comments.
const char **kelvoraFallbackResources();
