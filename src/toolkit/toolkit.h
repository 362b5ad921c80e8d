// Our resource-driven layer over Motif and Xt.
//
// Windows are described by X resource lines (the built-in table, overridable by
// the user's resources) and built on real Motif widgets.  The calls keep the names
// the rest of the program uses (XmtAskForFile, XmtChooserSetState, ...).
//
// Resource grammar (all lines use '*' paths, e.g. "*main.children: ..."):
//
//   <container>.children:  Kind name; Kind name = binding; ...
//        Children are created in the order listed; a widget that is not listed is
//        not created even if resource lines for it exist.  "= binding" names the
//        dialog resource-table entry an input field is bound to (default: its name).
//   Kinds:  Button Label MsgLine Chooser InputField List Separator
//           Row Column EqualRow EqualColumn Frame HFrame Form
//        Row/Column: XmRowColumn, tight; EqualRow/EqualColumn: all children the
//        same size; Frame/HFrame: etched XmFrame whose "title" resource is shown
//        as its caption and whose children go into an inner vertical/horizontal
//        box named "box"; Form: stacks its children top to bottom, stretched to
//        its width (used as the top of dialogs).
//   <widget>.caption: text         wraps the widget with a label ("<name>_cap" box,
//   <widget>.captionPosition: top  label "<name>_label"); default position left.
//   <widget>.captionWidth: text    the caption as wide as that text, whatever it shows.
//   Chooser:   chooserType: radio | check | option | list;  strings: a, b, "c, d"
//              (items become children item0..itemN); valueChangedCallback: proc()
//              A list is a scrolled list "<name>.listSW.list" whose entries the
//              program may replace; its state is the selected position, -1 for none.
//   List:      a scrolled list "<name>" in "<name>SW"; given a width, both sit in
//              a form "<name>_box" that keeps it.
//   InputField: pattern: dd (d digit, a letter, c any; its length is the most that
//              can be typed); matchAll: True; verifyCallback: Check_11_97();
//              errorCallback: XmtDisplayWarningMsg("msg1", "text")
//   Callback values: "name()" or "a(); b(\"x\", \"y\");" -- registered procedures,
//              quoted arguments are handed over as client data (XmtProcArgs).
//   Message dialogs by name: *<msgname>.message / .title / .help replace the
//              defaults given by the caller.
#pragma once

#include <Xm/Xm.h>
#include <cstdio>
#include <initializer_list>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------- start-up
// The application shell made by XmtInitialize; parent of every dialog.
extern Widget toplevel;
// Opens the display with class app_class and the fallback table, like
// XtOpenApplication; registers the converters our resource lines need.
Widget XmtInitialize(XtAppContext *app_return, const char *app_class, int *argc, char **argv,
                     const char **fallback_resources);
// An ISO 8859-1 text as a compound string in the form the window's fonts read
// (UTF-8 for Xft); free it with XmStringFree.  Every label, list item and
// title the program makes goes through here or through the resource lines.
XmString XmtCreateXmString(const char *text);
// Creates parent's children from its "children" resource (recursively).
void XmtCreateChildren(Widget parent);
// Finds a widget by a name path ("*a.b", "name"); nullptr when not found.
Widget XmtNameToWidget(Widget reference, const char *name);
// Faults of the resource table found so far while building (unknown procedures
// and widget kinds, bad entries); each was reported on stderr.
int XmtResourceProblems();
// Xft.dpi (else the screen's resolution) over 96: what Motif's sizes in pixels
// were multiplied by at start-up.
double XmtResolutionFactor();
// Full resource path of a widget ("kelvora.main.kurz"), for messages.
std::string XmtWidgetPath(Widget w);
// A file's name (bytes, mostly UTF-8) as a text of the window (ISO 8859-1):
// what it cannot show, control characters among them, as '?'.
std::string XmtFileNameText(std::string_view name);

// ---------------------------------------------------------------- procedures
// Arguments given in a callback string, handed to the procedure as client data
// (nullptr when the string gave none).
struct XmtProcArgs {
    std::vector<std::string> args;
};
void XmtRegisterCallbackProcedure(const char *name, XtCallbackProc proc);
// A typed list: a procedure of the wrong signature does not compile.
struct XmtProcedure {
    const char *name;
    XtCallbackProc proc;
};
void XmtRegisterProcedures(std::initializer_list<XmtProcedure> procedures);
bool XmtProcedureRegistered(const char *name);
// Parses a callback string; unknown names are reported on stderr with the
// widget's path (who) and skipped.  Returns false when anything was wrong.
bool XmtParseCallbackString(Widget who, const char *text, XtCallbackList *list_return);
// Calls every procedure of a callback string now (for our own callback resources).
void XmtCallCallbackString(Widget w, const char *text, XtPointer call_data);

// Reads a resource of w (or of a child name below w when child != nullptr) from
// the display's database; nullptr when there is none.
const char *XmtGetResourceString(Widget w, const char *child, const char *resource);

// ---------------------------------------------------------------- chooser
enum XmtChooserType { XmtChooserRadioBox, XmtChooserCheckBox, XmtChooserOption, XmtChooserRadioList };
struct XmtChooserCallbackStruct {
    int state; // radio/option/list: chosen index; check box: bit set
    int item;  // the item just changed
};
bool XmtIsChooser(Widget w);
int XmtChooserGetState(Widget chooser);
// Sets the state; the value-changed callbacks run only when notify is true.
void XmtChooserSetState(Widget chooser, int state, Boolean notify);
void XmtChooserSetSensitive(Widget chooser, int item, Boolean sensitive);
Boolean XmtChooserGetSensitive(Widget chooser, int item);
int XmtChooserGetNumItems(Widget chooser);
Widget XmtChooserGetItem(Widget chooser, int item);

// ---------------------------------------------------------------- input field
struct XmtInputFieldCallbackStruct {
    char *input;   // the text to be accepted
    Boolean okay;  // verify callbacks set it to False to refuse
};
bool XmtIsInputField(Widget w);
void XmtInputFieldSetString(Widget field, const char *text);
// The field's current text; owned by the field, valid until the next change.
const char *XmtInputFieldGetString(Widget field);
// Runs pattern, whole-pattern and verify checks on the text as it stands; on
// refusal restores the last accepted text, runs the error callbacks, returns false.
bool XmtInputFieldCommit(Widget field);

// ---------------------------------------------------------------- captions, msg line
// The caption label that a "caption" resource put beside w; nullptr when none.
Widget XmtCaptionOf(Widget w);
void XmtSetCaption(Widget w, const char *text);
enum { XmtMsgLineNow = 0 };
void XmtMsgLineClear(Widget msgline, int when);
// Replaces the line's text with the formatted one.
void XmtMsgLinePrintf(Widget msgline, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
// Shows the line's resource "name" (a printf format that takes what own
// takes), else own, filled with the arguments.
void XmtMsgLineShowNamed(Widget msgline, const char *name, const char *own, ...)
    __attribute__((format(printf, 3, 4)));
const char *XmtMsgLineGetString(Widget msgline); // for tests

// ---------------------------------------------------------------- dialogs
// Builds the dialog shell "name" under parent from its "children" resource; the
// resource table (resource_type "Buffer", size, offset) binds input fields to
// buffers.  nullptr when it cannot be built (no children, or a child failed).
Widget XmtBuildDialog(Widget parent, const char *name, XtResourceList resources, Cardinal num_resources);
// Copies the bound buffers at base into the fields, shows the dialog and runs
// the event loop until OK or Cancel; on OK copies the field texts back into the
// buffers (NUL-terminated within their size).  Returns True on OK.
Boolean XmtDialogDo(Widget dialog, XtPointer base);
// The same without copying (dialogs that work on the record directly).
Boolean XmtDialogRun(Widget dialog);
void XmtDialogSetData(Widget dialog, XtPointer base); // buffers -> fields
void XmtDialogGetData(Widget dialog, XtPointer base); // fields -> buffers
// Procedures "XmtDialogOkayCallback" / "XmtDialogCancelCallback" (registered by
// XmtInitialize) end the run of the dialog that contains the widget.
void XmtDialogOkayCallback(Widget w, XtPointer, XtPointer);
void XmtDialogCancelCallback(Widget w, XtPointer, XtPointer);
// f runs each time a run of a built dialog has ended (edits made there show
// in the main window).
void XmtAfterDialogRuns(std::function<void()> f);
// Every built dialog opens with the keyboard in its first field or list
// that takes input (else on "cancel", "quit" or "okay", the first there is);
// Return in a field presses "okay" once the field accepted its text; Escape
// presses "cancel" (or "quit"), and ends the run like the window's close
// button where there is neither.
// The innermost dialog run in progress (for tests driving modal dialogs): the
// shell of a built dialog, the box of a standard dialog (file selection box,
// question, integer prompt).
Widget XmtActiveDialog();

// ---------------------------------------------------------------- messages
// Modal message boxes by name; resources *name.message/.title/.help replace the
// defaults.  The message is a printf format for the variable arguments.  They
// return at once; the box goes away on its OK button.
void XmtDisplayErrorMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                        const char *help_default, ...);
void XmtDisplayWarningMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                          const char *help_default, ...);
void XmtDisplayInformationMsg(Widget w, const char *name, const char *msg_default, const char *title_default,
                              const char *help_default, ...);
// Their buttons, and those of the yes/no question, are push-button widgets
// named "okButton", "cancelButton" and "helpButton" (Motif's own gadgets are
// hidden); Return presses the default button.
// The message box last shown under that name (for tests), nullptr if none.
Widget XmtLastMessageBox(const char *name);
// Asks with "Ja"/"Nein" (or the given labels) and waits; True for yes.
Boolean XmtDisplayWarningAndAsk(Widget w, const char *query_name, const char *prompt, const char *yes_default,
                                const char *no_default, Boolean default_yes, const char *help_text);
// The same with "Ja"/"Nein" and a printf message: the resource *<name>.message,
// else prompt, filled with the arguments.
Boolean XmtDisplayWarningAndAskf(Widget w, const char *query_name, const char *prompt, Boolean default_yes,
                                 const char *help_text, ...);
// A question whose "yes" cannot be undone (programming, erasing, resetting,
// overwriting, quitting with unsaved changes): "Nein" is the default button and
// has the keyboard focus, so Return and Escape both leave things as they are.
// Otherwise as XmtDisplayWarningAndAskf (labels from *<name>.yesLabel/.noLabel).
Boolean XmtAskIrreversible(Widget w, const char *query_name, const char *prompt, const char *help_text, ...);
// Asks for an integer in [min, max]; a value outside is refused and asked again.
Boolean XmtAskForInteger(Widget w, const char *query_name, const char *prompt, int *value_return, int min,
                         int max, const char *help_text);
// File selection; opens the chosen file in file_mode without blocking (FIFOs,
// devices and directories are handed back or refused, never waited on) and fills
// the three buffers.  A file that cannot be opened is told in the dialog, which
// stays open.  False on cancel.  Non-empty directory and pattern buffers give
// the start; else the resources *<query>.directory / .pattern, else the
// defaults.  *<query>.title / .message / .help replace the title, prompt and help.
Boolean XmtAskForFile(Widget w, const char *query_name, const char *prompt, const char *default_directory,
                      const char *default_pattern, FILE **stream_return, const char *file_mode,
                      char *filename_buffer, int filename_buffer_len, char *directory_buffer,
                      int directory_buffer_len, char *pattern_buffer, int pattern_buffer_len,
                      const char *help_text);

// The same dialog without touching any buffer: the start values come from the
// three texts, the choice goes into *choice, and the caller keeps it
// (XmtKeepFileChoice) only once the file was loaded or written.  For reading
// the file is opened as above (choice->stream); for saving nothing is opened,
// and a regular file that is there already is asked about first (its name in
// the question "overwriteFile", default "Nein"; "Nein" keeps the dialog up).
struct XmtFileChoice {
    std::string path, directory, pattern;
    FILE *stream = nullptr; // opened for reading; nullptr when saving
};
Boolean XmtChooseFile(Widget w, const char *query_name, const char *prompt, const char *default_directory,
                      const char *default_pattern, Boolean for_saving, const char *filename, const char *directory,
                      const char *pattern, const char *help_text, XmtFileChoice *choice);
void XmtKeepFileChoice(const XmtFileChoice &choice, char *filename_buffer, int filename_buffer_len,
                       char *directory_buffer, int directory_buffer_len, char *pattern_buffer,
                       int pattern_buffer_len);
// A button "label" (resource *<query>.placeLabel) in every file dialog of
// that query name that shows the directory place() names, with the dialog's
// pattern: a place the user would otherwise have to type.
void XmtAddFileDialogPlace(const char *query_name, const char *label, std::function<std::string()> place);
// A check box named name, labelled label (resource *<query>.<name>Label), in
// every file dialog of that query name: it shows *state when the dialog
// opens and sets it as the user clicks.
void XmtAddFileDialogToggle(const char *query_name, const char *name, const char *label, bool *state);

// ---------------------------------------------------------------- working dialog
// Shows (at once, mapped and painted) a working box with a 0..max scale.
Widget XmtDisplayWorkingDialog(Widget w, const char *dialog_name, const char *message_default,
                               const char *scale_label_default, const char *button_label_default, int scale_min,
                               int scale_max, Boolean show_scale, Boolean show_button);
// Sets the scale and repaints it before returning.
void XmtWorkingBoxSetScaleValue(Widget working_box, int value);
int XmtWorkingBoxGetScaleValue(Widget working_box); // for tests
Widget XmtWorkingScaleOf(Widget working_box);       // for tests
// Hides the working dialog shown for w's shell.
void XmtHideWorkingDialog(Widget w);

// ---------------------------------------------------------------- tests
// Processes pending events (and waits up to ms for more) -- used by tests and by
// the layer itself to get windows mapped and painted.
void XmtProcessPending(XtAppContext app, int ms);
