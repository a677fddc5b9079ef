#include "editor/HtmlEndings.h"

#include <QStringList>

namespace HtmlEndings {

bool matches(const QString &name)
{
    static const QStringList endings{
        QStringLiteral("htm"), QStringLiteral("Htm"), QStringLiteral("HTM"),
        QStringLiteral("html"), QStringLiteral("Html"), QStringLiteral("HTML"),
    };
    for (const QString &ending : endings) {
        if (name.endsWith(ending, Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace HtmlEndings
