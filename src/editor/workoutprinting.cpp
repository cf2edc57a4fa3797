#include "workoutprinting.h"

#include "workoutsheet.h"

#include "platform/messageboxes.h"

#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace kntr {

bool showPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
}

void printWorkout(Editor& editor, const QString& caption, QWidget* parent, MessageBoxes& messages,
                  const PrintDialogRunner& dialog)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!dialog(printer, parent))
        return;
    printWorkoutOn(printer, editor, caption, messages);
}

bool printWorkoutOn(QPrinter& printer, Editor& editor, const QString& caption, MessageBoxes& messages)
{
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    const WorkoutSheet sheet(editor, caption);
    if (sheet.print(printer, copies) == 0 || printer.printerState() == QPrinter::Error) {
        messages.show(QStringLiteral("Printer Error!"), MessageBoxes::Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace kntr
