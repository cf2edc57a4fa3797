// The workout sheet: its texts from the editor, printing through QPrinter (to PDF), kinetrova-cli print.

#include "editor/editor.h"
#include "editor/ui/workoutprinting.h"
#include "editor/workoutsheet.h"

#include "clicommand.h"
#include "files/textfile.h"
#include "files/workouttext.h"
#include "manualclock.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"

#include <QFile>
#include <QFontInfo>
#include <QPageSize>
#include <QLocale>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

/// The number of pages of a PDF file as Qt writes it.
int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        session.machine.resetToDefaults();
        DefaultWorkout(session.workout, settings, dir.path());
        editor.applyMachineRanges();
        editor.selectSegment(2);
    }

    bool printPdf(const QString& path, int copies, QPageSize::PageSizeId paper = QPageSize::Letter)
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(paper));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setCopyCount(copies);
        return printWorkoutOn(printer, editor, "Kinetrova - default", messages);
    }

    QTemporaryDir dir;
    Session session;
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Editor editor{session, settings, messages, clock};
};

TEST_F(PrintingTest, TheTableShowsTheEditorsTextsAndTheLastSegmentStaysSelected)
{
    session.workout.setCount(12);
    session.workout.segment(11) = session.workout.segment(4);
    session.workout.segment(11).setSegmentSpeed(10.0);
    session.workout.segment(12) = session.workout.segment(1);
    session.workout.segment(12).setSegmentIncline(7.5);
    session.workout.segment(12).setSegmentTime(750);
    session.modified = false;
    int graphRedraws = 0;
    QObject::connect(&editor, &Editor::changed,
                     [&](unsigned c) { graphRedraws += (c & Editor::Graph) != 0; });

    const WorkoutSheet sheet = sheetOfEditedWorkout(editor, "Kinetrova - twelve.txt");
    const std::array<QString, 4> headers{"Segment", "Time", "Speed", "Incline"};
    EXPECT_EQ(sheet.headers(), headers);
    ASSERT_EQ(sheet.rows().size(), 12u);
    const SheetRow& fourth = sheet.rows()[3];
    EXPECT_EQ(QStringList({fourth.segment, fourth.time, fourth.first, fourth.second}),
              QStringList({"4", "8:00", "3", "2"}));
    const SheetRow& last = sheet.rows()[11];
    EXPECT_EQ(QStringList({last.segment, last.time, last.first, last.second}),
              QStringList({"12", "12:30", "1", "7.5"}));
    EXPECT_EQ(sheet.rows()[10].first, "10");

    EXPECT_EQ(session.workout.current(), 12);
    EXPECT_EQ(editor.text(Editor::Field::Segment), "12");
    EXPECT_GT(graphRedraws, 0);
    EXPECT_FALSE(session.modified);
}

TEST_F(PrintingTest, OnePagePerCopyAndATableTooLongGoesOverleaf)
{
    struct Case {
        int segments, copies, pages;
    };
    for (const Case c : {Case{10, 1, 1}, Case{10, 2, 2}, Case{60, 1, 2}, Case{60, 2, 4}}) {
        session.workout.setCount(c.segments);
        const QString pdf = dir.filePath(QStringLiteral("sheet-%1-%2.pdf").arg(c.segments).arg(c.copies));
        EXPECT_TRUE(printPdf(pdf, c.copies));
        EXPECT_EQ(pdfPages(pdf), c.pages) << c.segments << " segments, " << c.copies << " copies";
        EXPECT_EQ(session.workout.current(), c.segments) << "the last segment printed stays selected";
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PrintingTest, FortyFourRowsFitOnePageOfLetterOrA4AboveAFooterWithTheTotals)
{
    session.workout.setCount(44);
    for (const QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
        const QString pdf = dir.filePath(QStringLiteral("sheet-%1.pdf").arg(int(paper)));
        EXPECT_TRUE(printPdf(pdf, 1, paper));
        EXPECT_EQ(pdfPages(pdf), 1) << QPageSize::name(paper).toStdString();
    }
    EXPECT_EQ(QFontInfo(WorkoutSheet::font()).family(), "Liberation Sans") << "or Arial itself";

    // The footer gives the totals the window shows and the day by the editor's clock.
    const WorkoutSheet sheet = sheetOfEditedWorkout(editor, "Kinetrova - default");
    const Editor::TotalsTexts& totals = editor.totals();
    EXPECT_EQ(sheet.footerTotals(),
              QStringLiteral("Total time %1     Distance %2 Miles     Calories %3")
                  .arg(totals.time, totals.distance, totals.calories));
    EXPECT_EQ(sheet.footerDate(), "Printed " + clock.now().date().toString(Qt::ISODate));
}

TEST_F(PrintingTest, AFailingPrinterSaysSoAndACancelledDialogPrintsNothing)
{
    EXPECT_FALSE(printPdf(dir.filePath("no-such-folder/sheet.pdf"), 1));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Printer Error!");

    messages.clear();
    editor.selectSegment(2);
    bool asked = false;
    printWorkout(editor, "Kinetrova - default", nullptr, messages, [&](QPrinter& printer, QWidget*) {
        asked = true;
        printer.setOutputFileName(dir.filePath("cancelled.pdf"));
        return false;
    });
    EXPECT_TRUE(asked);
    EXPECT_FALSE(QFile::exists(dir.filePath("cancelled.pdf")));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(session.workout.current(), 2);
}

TEST_F(PrintingTest, CliPrintWritesOnePagePerCopy)
{
    session.workout.setCount(12);
    const QString workout = dir.filePath("twelve.txt");
    ASSERT_TRUE(writeTextFile(workout, buildWorkoutText(session.workout, MemorySettingsStore())));
    const AppPaths paths(dir.filePath("program"), dir.filePath("data"));
    struct Case {
        QStringList args;
        int status;
        int pages; // -1: no file written
    };
    const QString out = dir.filePath("out.pdf");
    const Case cases[] = {
        {{"print", workout, "-o", out}, 0, 1},
        {{"print", workout, "-o", out, "--copies", "2"}, 0, 2},
        {{"print", workout, "--copies", "2"}, 2, -1},
        {{"print", workout, "-o", dir.filePath("x.pdf"), "--copies", "0"}, 2, -1},
        {{"print", workout, "-o", out, "--date", "2026-12-08"}, 0, 1},
        {{"print", workout, "-o", dir.filePath("x.pdf"), "--date", "8.12.2026"}, 2, -1},
        {{"print", workout, "-o", dir.path()}, 1, -1}, // a folder is never replaced
    };
    for (const Case& c : cases) {
        QFile::remove(out);
        QString stdOut, stdErr;
        QTextStream o(&stdOut), e(&stdErr);
        CliContext context{o, e, settings, paths};
        EXPECT_EQ(runCli(c.args, context), c.status) << c.args.join(' ').toStdString();
        const QString target = c.args[c.args.indexOf("-o") + 1];
        if (c.pages > 0) {
            EXPECT_EQ(pdfPages(target), c.pages) << c.args.join(' ').toStdString();
        } else if (c.args.contains("-o") && target != dir.path()) {
            EXPECT_FALSE(QFile::exists(target)) << c.args.join(' ').toStdString();
        }
    }
}

} // namespace
