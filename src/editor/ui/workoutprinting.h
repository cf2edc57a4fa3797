#pragma once

#include "editor/workoutsheet.h"

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace kntr {

class Editor;
class MessageBoxes;

/// The sheet of the workout being edited, as File > Print makes it: every
/// segment is selected in turn, as the window would show it, so the last
/// segment is left selected (and the editor asks for a redraw). The footer is
/// dated by the editor's clock.
WorkoutSheet sheetOfEditedWorkout(Editor& editor, const QString& caption);

/// Shows the print dialog for printer; false when the user cancels it.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

/// The print dialog as the desktop shows it (printers, and "Print to File" for PDF).
bool showPrintDialog(QPrinter& printer, QWidget* parent);

/// File > Print (mnuFilePrint_Click): asks for a printer and the number of
/// copies, then prints the workout sheet of editor's workout once per copy,
/// headed by caption (the main window's title). A cancelled dialog prints
/// nothing and says nothing; a printer that fails shows "Printer Error!".
/// Afterwards the last segment is the selected one and the editor has asked
/// for the graph to be redrawn.
void printWorkout(Editor& editor, const QString& caption, QWidget* parent, MessageBoxes& messages,
                  const PrintDialogRunner& dialog = showPrintDialog);

/// Prints printer.copyCount() sheets on a printer already set up, one page
/// each; the printer itself is then asked for one copy, so that none is
/// printed twice over. Shows "Printer Error!" and returns false on failure.
bool printWorkoutOn(QPrinter& printer, Editor& editor, const QString& caption, MessageBoxes& messages);

} // namespace kntr
