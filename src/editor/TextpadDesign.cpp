#include "editor/TextpadDesign.h"

#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace TextpadDesign {

QSize clientTwips()
{
    return QSize(10845, 6615);
}

QRect toolbarTwips()
{
    return QRect(0, 0, 10845, 405);
}

QRect noteTwips()
{
    return QRect(120, 480, 10695, 6135);
}

const QList<ToolbarButtonDesign> &toolbarButtons()
{
    // A gap of 120 twips between Open and Cut parts the file buttons from the edit buttons.
    static const QList<ToolbarButtonDesign> buttons{
        {QStringLiteral("imgFileNewButton"), QStringLiteral("New File"), QRect(0, 0, 360, 330), ToolbarIcon::NewPage},
        {QStringLiteral("imgFileOpenButton"), QStringLiteral("Open File"), QRect(360, 0, 360, 330), ToolbarIcon::OpenFolder},
        {QStringLiteral("imgCutButton"), QStringLiteral("Cut"), QRect(840, 0, 375, 330), ToolbarIcon::Scissors},
        {QStringLiteral("imgCopyButton"), QStringLiteral("Copy"), QRect(1200, 0, 375, 330), ToolbarIcon::TwoPages},
        {QStringLiteral("imgPasteButton"), QStringLiteral("Paste"), QRect(1560, 0, 375, 330), ToolbarIcon::Clipboard},
    };
    return buttons;
}

const QList<MenuEntry> &menuTable()
{
    static const QList<MenuEntry> table{
        {QString(), QStringLiteral("mnuFile"), QStringLiteral("&File"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuOpen"), QStringLiteral("Open"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuFileNew"), QStringLiteral("&New"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuFileSave"), QStringLiteral("&Save"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuFileSaveAs"), QStringLiteral("Save &As"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuFSep1"), QStringLiteral("-"), QString()},
        {QStringLiteral("mnuFile"), QStringLiteral("mnuFileExit"), QStringLiteral("Exit"), QString()},
        {QString(), QStringLiteral("mnuEdit"), QStringLiteral("&Edit"), QString()},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditCut"), QStringLiteral("Cut"), QStringLiteral("Ctrl+X")},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"), QStringLiteral("Ctrl+C")},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"), QStringLiteral("Ctrl+V")},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditDelete"), QStringLiteral("Delete"), QStringLiteral("Del")},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditSelectAll"), QStringLiteral("Select All"), QString()},
        {QStringLiteral("mnuEdit"), QStringLiteral("mnuEditTime"), QStringLiteral("Time / &Date"), QString()},
        {QString(), QStringLiteral("mnuSearch"), QStringLiteral("&Search"), QString()},
        {QStringLiteral("mnuSearch"), QStringLiteral("mnuSearchFind"), QStringLiteral("&Find"), QString()},
        {QStringLiteral("mnuSearch"), QStringLiteral("mnuSearchFindNext"), QStringLiteral("Find &Next"), QStringLiteral("F3")},
        {QString(), QStringLiteral("mnuOptions"), QStringLiteral("&Options"), QString()},
        {QStringLiteral("mnuOptions"), QStringLiteral("mnuOptionsToolbar"), QStringLiteral("&Toolbar"), QString()},
        {QStringLiteral("mnuOptions"), QStringLiteral("mnuFonts"), QStringLiteral("&Fonts"), QString()},
        {QStringLiteral("mnuFonts"), QStringLiteral("mnuFontName"), QStringLiteral("FontName"), QString()},
        // Hidden until the editor meets an HTML file; a menu-bar menu all the same.
        {QString(), QStringLiteral("mnuHtmledit0"), QStringLiteral("HTML"), QString()},
        {QStringLiteral("mnuHtmledit0"), QStringLiteral("mnuHtmledit1"), QStringLiteral("Show Changes"), QString()},
        {QStringLiteral("mnuHtmledit0"), QStringLiteral("mnuView"), QStringLiteral("View Html"), QString()},
    };
    return table;
}

namespace {

struct FileType
{
    QString description;
    QStringList patterns;
};

const QList<FileType> &openFileTypes()
{
    static const QList<FileType> types{
        {QStringLiteral("Html Files(*.HTM;*.Html)"),
         {QStringLiteral("*.HTM"), QStringLiteral("*.Htm"), QStringLiteral("*.htm"), QStringLiteral("*.HTML"),
          QStringLiteral("*.Html"), QStringLiteral("*.html")}},
        {QStringLiteral("Text Files (*.Txt)"), {QStringLiteral("*.TXT"), QStringLiteral("*.Txt"), QStringLiteral("*.txt")}},
        {QStringLiteral("All Files (*.*)"), {QStringLiteral("*")}},
    };
    return types;
}

QString filterEntry(const FileType &type)
{
    return type.description + QStringLiteral(" (") + type.patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

} // namespace

QString openFilter()
{
    QStringList entries;
    for (const FileType &type : openFileTypes())
        entries << filterEntry(type);
    return entries.join(QStringLiteral(";;"));
}

QString openFilterFirstEntry()
{
    return filterEntry(openFileTypes().constFirst());
}

namespace {

const QColor face3d(192, 192, 192);
const QColor light(255, 255, 255);
const QColor shadow(128, 128, 128);
const QColor dark(0, 0, 0);
const QColor navy(0, 0, 128);
const QColor olive(128, 128, 0);
const QColor yellow(255, 255, 0);

void drawBevel(QPainter &p, const QRect &r, bool down)
{
    p.fillRect(r, face3d);
    const QColor topLeft = down ? shadow : light;
    const QColor bottomRight = down ? light : dark;
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!down) {
        p.setPen(shadow);
        p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }
}

void drawPage(QPainter &p, const QRect &r)
{
    QPainterPath page;
    page.moveTo(r.left(), r.top());
    page.lineTo(r.right() - 3, r.top());
    page.lineTo(r.right(), r.top() + 3);
    page.lineTo(r.right(), r.bottom());
    page.lineTo(r.left(), r.bottom());
    page.closeSubpath();
    p.setPen(dark);
    p.setBrush(light);
    p.drawPath(page);
}

void drawIcon(QPainter &p, ToolbarIcon icon, const QRect &area)
{
    const QPoint c = area.center();
    switch (icon) {
    case ToolbarIcon::NewPage:
        drawPage(p, QRect(c.x() - 5, c.y() - 7, 11, 14));
        break;
    case ToolbarIcon::OpenFolder:
        p.setPen(dark);
        p.setBrush(yellow);
        p.drawRect(QRect(c.x() - 8, c.y() - 4, 13, 9));
        p.setBrush(olive);
        p.drawPolygon(QPolygon({QPoint(c.x() - 8, c.y() + 5), QPoint(c.x() - 4, c.y() - 1),
                                QPoint(c.x() + 9, c.y() - 1), QPoint(c.x() + 5, c.y() + 5)}));
        break;
    case ToolbarIcon::Scissors:
        p.setPen(QPen(dark, 1));
        p.drawLine(c.x() - 3, c.y() - 7, c.x() + 2, c.y() + 2);
        p.drawLine(c.x() + 3, c.y() - 7, c.x() - 2, c.y() + 2);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(navy, 1));
        p.drawEllipse(QRect(c.x() - 6, c.y() + 2, 5, 5));
        p.drawEllipse(QRect(c.x() + 1, c.y() + 2, 5, 5));
        break;
    case ToolbarIcon::TwoPages:
        drawPage(p, QRect(c.x() - 7, c.y() - 7, 9, 11));
        drawPage(p, QRect(c.x() - 1, c.y() - 3, 9, 11));
        break;
    case ToolbarIcon::Clipboard:
        p.setPen(dark);
        p.setBrush(olive);
        p.drawRect(QRect(c.x() - 7, c.y() - 6, 11, 14));
        p.setBrush(shadow);
        p.drawRect(QRect(c.x() - 4, c.y() - 8, 5, 3));
        drawPage(p, QRect(c.x() - 1, c.y() - 2, 8, 10));
        break;
    }
}

} // namespace

QPixmap face(ToolbarIcon icon, bool down, const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    const QRect r(QPoint(0, 0), size - QSize(1, 1));
    drawBevel(p, r, down);
    drawIcon(p, icon, down ? r.translated(1, 1) : r);
    return pixmap;
}

} // namespace TextpadDesign
