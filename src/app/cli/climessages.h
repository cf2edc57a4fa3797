#pragma once

#include "platform/messageboxes.h"

#include <QTextStream>

namespace kntr {

/// Message boxes of the headless commands: the text goes to stderr on one line
/// and the answer is the cautious one (OK, No): a question never starts
/// something the user was not asked about.
class CliMessages : public MessageBoxes {
public:
    explicit CliMessages(QTextStream& err)
        : mErr(err)
    {
    }

    Answer show(const QString& text, Icon, Buttons buttons, const QString&) override
    {
        QString line = text;
        line.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
        mErr << line.simplified() << '\n';
        mErr.flush();
        mLast = line.simplified();
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::Ok;
    }
    const QString& last() const { return mLast; }

private:
    QTextStream& mErr;
    QString mLast;
};

} // namespace kntr
