#pragma once

#include <QString>

// The HTML file-type test: a name ends in "htm" or "html", each in lower case, capitalised or
// upper case, compared exactly with case and without a dot ("hTm" is no HTML ending).
namespace HtmlEndings {

bool matches(const QString &name);

} // namespace HtmlEndings
