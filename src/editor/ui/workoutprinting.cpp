#include "workoutprinting.h"

#include "editor/editor.h"

#include "model/session.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"

#include <QPageLayout>
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

WorkoutSheet sheetOfEditedWorkout(Editor& editor, const QString& caption)
{
    // The workout as it stands, with the segment selected now marked on the graph.
    WorkoutSheet sheet(editor.session(), editor.paceShown() ? SpeedDisplay::Pace : SpeedDisplay::Value,
                       caption, editor.clock().now().date());
    for (int i = 1; i <= editor.session().workout.count(); ++i)
        editor.selectSegment(i);
    return sheet;
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
    // The sheet is laid out on the printable area itself, as far as the
    // printer reaches (the whole page in a PDF file).
    QPageLayout page = printer.pageLayout();
    page.setMargins(page.minimumMargins());
    printer.setPageLayout(page);
    const WorkoutSheet sheet = sheetOfEditedWorkout(editor, caption);
    if (sheet.print(printer, copies) == 0 || printer.printerState() == QPrinter::Error) {
        messages.show(QStringLiteral("Printer Error!"), MessageBoxes::Icon::Exclamation);
        return false;
    }
    return true;
}

} // namespace kntr
