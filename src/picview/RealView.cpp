#include "picview/RealView.h"

#include "picview/PictureFile.h"
#include "picview/PictureImage.h"
#include "picview/PrintLayout.h"
#include "picview/RealViewDesign.h"
#include "platform/Twips.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/MenuTree.h"
#include "platform/ui/Printer.h"
#include "platform/ui/Services.h"

#include <QCloseEvent>
#include <QFrame>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

namespace {
// A rectangle in twips (fractions included) on the screen, 15 twips to a pixel.
QRect pixelRect(const QRectF &twips)
{
    const double perPixel = Twips::perPixel;
    const int left = qRound(twips.left() / perPixel);
    const int top = qRound(twips.top() / perPixel);
    return QRect(left, top, qRound(twips.right() / perPixel) - left, qRound(twips.bottom() / perPixel) - top);
}

QPushButton *designButton(const QString &name, const QString &text, const QRect &twips, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(Twips::rect(twips));
    button->setAutoDefault(false);
    return button;
}
} // namespace

RealView::RealView(Services &services) : m_services(services)
{
    setObjectName(QStringLiteral("RealView"));
    setWindowTitle(QString());

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("RealViewClient"));
    DesignFont::apply(client);
    setCentralWidget(client);

    auto *frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("Picture1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(Twips::rect(RealViewDesign::picture1Twips));
    m_picture1 = frame;

    // The image lies beneath the picture area's other controls.
    m_image1 = new PictureImage(m_picture1);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->lower();

    m_command2 = designButton(QStringLiteral("Command2"), QStringLiteral("Reduce"),
                              RealViewDesign::command2Twips, m_picture1);
    m_vscroll1 = new QScrollBar(Qt::Vertical, m_picture1);
    m_vscroll1->setObjectName(QStringLiteral("VScroll1"));
    m_vscroll1->setGeometry(Twips::rect(RealViewDesign::vscroll1Twips));
    m_vscroll1->setRange(0, RealViewDesign::scrollMaximum);
    m_vscroll1->setSingleStep(RealViewDesign::scrollSmallChange);
    m_vscroll1->setPageStep(RealViewDesign::scrollLargeChange);
    // A dragged thumb moves the picture when it is released.
    m_vscroll1->setTracking(false);
    m_vscroll1->hide();

    m_command1 = designButton(QStringLiteral("Command1"), QStringLiteral("Enlarge"),
                              RealViewDesign::command1Twips, client);
    m_command1->raise();

    connect(m_command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(m_command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(m_vscroll1, &QScrollBar::valueChanged, this, [this](int value) { VScroll1_Change(value); });

    m_menus = std::make_unique<MenuTree>(RealViewDesign::menuTable(), menuBar(), this);
    connectMenus();
    applyState();
}

RealView::~RealView() = default;

void RealView::connectMenus()
{
    auto on = [this](const char *name, void (RealView::*command)()) {
        m_menus->onTriggered(QLatin1String(name), this, [this, command] { (this->*command)(); });
    };
    on("mnuClip", &RealView::mnuClip_Click);
    on("mnuEnlarge", &RealView::Command1_Click);
    on("mnuOpen", &RealView::mnuOpen_Click);
    on("mnuPrint", &RealView::mnuPrint_Click);
    on("mnuReduce", &RealView::Command2_Click);
    m_menus->onTriggered(QStringLiteral("mnuSaveAs"), this, [this] { Q_EMIT saveAsRequested(); });
    on("mnuExit", &RealView::mnuExit_Click);
}

const Picture &RealView::picture() const
{
    return m_image1->picture();
}

void RealView::Form_Load(const std::optional<QString> &picturePath)
{
    // Whatever follows, the clipboard is emptied first.
    m_services.clipboard.clear();
    if (!picturePath)
        return;
    m_image1->setPicture(Picture());
    m_fileName = *picturePath;

    const std::optional<OpenedPicture> opened = openPicture();
    if (!opened) {
        // Cancel or no picture: the window goes before it was ever shown, without a word.
        Q_EMIT unloadRequested();
        return;
    }
    m_fileName = opened->path;
    m_image1->setPicture(opened->picture);
    m_state.showLoaded(opened->picture.twipsSize());
    applyState();
}

void RealView::showInFront()
{
    const bool wasVisible = isVisible();
    // Without a window manager to maximise it, the window still covers the screen.
    if (!wasVisible)
        setGeometry(screen()->availableGeometry());
    showMaximized();
    if (wasVisible)
        raise();
    activateWindow();
}

std::optional<RealView::OpenedPicture> RealView::openPicture()
{
    FileDialogRequest request;
    request.fileName = m_fileName;
    request.filter = RealViewDesign::openFilter();
    const std::optional<QString> chosen = m_services.dialogs.openFileName(request);
    if (!chosen)
        return std::nullopt;
    std::optional<Picture> picture = PictureFile::load(m_services.files, *chosen);
    if (!picture)
        return std::nullopt;
    return OpenedPicture{*chosen, std::move(*picture)};
}

void RealView::Command1_Click()
{
    if (m_state.enlarge() == ViewState::EnlargeResult::AtMaximum) {
        m_services.dialogs.message(RealViewDesign::atMaximumMessage());
        return;
    }
    applyState();
}

void RealView::Command2_Click()
{
    m_state.reduce();
    applyState();
}

void RealView::VScroll1_Change(int value)
{
    m_state.scrollTo(value);
    applyState();
}

void RealView::mnuClip_Click()
{
    Clipboard &clipboard = m_services.clipboard;
    clipboard.clear();
    if (picture().isNull())
        return;
    // A metafile goes as the image it draws.
    clipboard.setImage(picture().toImage());
    if (clipboard.image().isNull()) {
        clipboard.clear();
        m_services.dialogs.message(RealViewDesign::clipboardRefusedMessage(), MessageIcon::Information);
    }
}

void RealView::mnuOpen_Click()
{
    // Cancel, a missing file and a file that is no picture keep the shown picture and its name.
    const std::optional<OpenedPicture> opened = openPicture();
    if (!opened)
        return;
    m_fileName = opened->path;
    m_image1->setPicture(opened->picture);
    m_state.replacePicture(opened->picture.twipsSize());
    applyState();
}

void RealView::mnuPrint_Click()
{
    const std::optional<QRectF> twips =
        PrintLayout::pageRect(m_state.caption(), m_state.imageRect().topLeft(), picture().twipsSize());
    if (!twips)
        return;
    const std::unique_ptr<QPrinter> printer = m_services.printer.defaultPrinter();
    if (!printer) {
        m_services.dialogs.message(PrintLayout::noPrinterMessage());
        return;
    }
    const double scale = printer->resolution() / 1440.0;
    QPainter painter;
    if (!painter.begin(printer.get())) {
        m_services.dialogs.message(PrintLayout::noPrinterMessage());
        return;
    }
    picture().draw(painter, QRectF(twips->x() * scale, twips->y() * scale, twips->width() * scale,
                                   twips->height() * scale));
    painter.end();
}

void RealView::mnuExit_Click()
{
    Q_EMIT unloadRequested();
}

void RealView::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT unloadRequested();
}

void RealView::applyState()
{
    setWindowTitle(m_state.caption());
    m_image1->setGeometry(pixelRect(m_state.imageRect()));
    m_vscroll1->setVisible(m_state.scrollBarShown());
}
