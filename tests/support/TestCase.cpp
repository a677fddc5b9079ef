#include "support/TestCase.h"

#include <QRegularExpression>
#include <QTest>

void TestCase::failOnUnexpectedWarnings()
{
    // Every warning and critical message but the offscreen platform's notes that it cannot
    // raise a window, grab the keyboard or pass size hints on: they say nothing about our code.
    // Those a test names with ignoreMessage are matched there first and never reach this.
    static const QRegularExpression unexpected(QStringLiteral("^(?!This plugin does not support ).*"));
    QTest::failOnWarning(unexpected);
}
