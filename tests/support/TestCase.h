#pragma once

#include <QObject>

// The base of every test class: a Qt warning that a test function did not expect fails it, so
// a warning such as "QString::arg: argument missing" cannot pass unseen. A test that expects a
// warning names it with QTest::ignoreMessage. A class with an init() of its own calls
// failOnUnexpectedWarnings() there, as init() below would have.
class TestCase : public QObject
{
    Q_OBJECT

protected:
    static void failOnUnexpectedWarnings();

private slots:
    void init() { failOnUnexpectedWarnings(); }
};
