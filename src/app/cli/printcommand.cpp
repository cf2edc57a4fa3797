#include "printcommand.h"

#include "climessages.h"
#include "cliworkout.h"

#include "editor/workoutsheet.h"
#include "files/textfile.h"
#include "platform/systemclock.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kCopies = QStringLiteral("copies");
const QString kDate = QStringLiteral("date");
constexpr int kMaxCopies = 999;

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.pdf)"));
    int copies = 1;
    if (args.isSet(kCopies)) {
        bool ok = false;
        copies = args.value(kCopies).toInt(&ok);
        if (!ok || copies < 1 || copies > kMaxCopies)
            return args.usageError(
                QStringLiteral("--copies takes a whole number from 1 to %1").arg(kMaxCopies));
    }
    QDate printed = SystemClock().now().date();
    if (args.isSet(kDate)) {
        printed = QDate::fromString(args.value(kDate), Qt::ISODate);
        if (!printed.isValid())
            return args.usageError(QStringLiteral("--date takes a date as YYYY-MM-DD"));
    }
    // Text is laid out with the fonts of a GUI application (the offscreen one will do).
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return args.failure(QStringLiteral("printing needs the fonts of a QGuiApplication"));

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());

    const Session& session = workout.session();
    const WorkoutSheet sheet(session, speedDisplay(session.machine, workout.settings()), workout.caption(),
                             printed);

    int pages = 0;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(sheet.caption());
        writer.setCreator(QStringLiteral("Kinetrova"));
        const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        pages = sheet.print(writer, copies);
        if (pages == 0)
            return args.failure(QStringLiteral("cannot lay out the pages of %1").arg(output));
    }
    QString error;
    if (!writeTextFile(output, pdf.data(), &error))
        return args.failure(QStringLiteral("cannot write %1: %2").arg(output, error));
    context.out << output << ": " << pages << (pages == 1 ? " page, " : " pages, ")
                << workout.session().workout.count()
                << (workout.session().workout.count() == 1 ? " segment" : " segments") << '\n';
    return kCliOk;
}

} // namespace

CliCommand printCommand()
{
    return {
        QStringLiteral("print"),
        QStringLiteral("WORKOUT.txt -o OUT.pdf [--copies N] [--date YYYY-MM-DD]"),
        QStringLiteral("Write the workout sheet File > Print prints as a PDF file.\n\n"
                       "The sheet shows the window caption, the profile graph and a table of every\n"
                       "segment's time and values as the main window shows them; each copy starts a\n"
                       "page of its own. A footer gives the workout's totals and the date printed\n"
                       "(today, or --date). The paper is Letter where the locale measures in US\n"
                       "units, else A4."),
        {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                            QStringLiteral("The file to write."), QStringLiteral("OUT.pdf")),
         QCommandLineOption(kCopies, QStringLiteral("Number of copies (default 1)."), QStringLiteral("N")),
         QCommandLineOption(kDate, QStringLiteral("The date the footer gives (default today)."),
                            QStringLiteral("YYYY-MM-DD"))},
        1,
        1,
        run};
}

} // namespace kntr
