#pragma once

#include "TextBoxFixture.h"
#include "support/TestCase.h"

#include <memory>

// The base of the text box's tests: a fresh box, shown and focused, for every test function.
class TextBoxTestCase : public TestCase
{
    Q_OBJECT

protected:
    std::unique_ptr<TextBoxFixture> f;

private Q_SLOTS:
    void init()
    {
        failOnUnexpectedWarnings();
        f = std::make_unique<TextBoxFixture>();
        QVERIFY(f->show());
    }
    void cleanup() { f.reset(); }
};
