#include "editor/frmFind.h"

#include "editor/FindEngine.h"
#include "platform/Twips.h"
#include "platform/ui/DesignFont.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

frmFind::frmFind(FindState &state, std::function<void()> findNext, QWidget *parent)
    : QDialog(parent), m_state(state), m_findNext(std::move(findNext))
{
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find"));
    setFixedSize(Twips::size(4950, 1395));
    DesignFont::apply(this, DesignFont::designPoints, true);

    auto *label = new QLabel(QStringLiteral("Find Word:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(Twips::rect(600, 120, 975, 255));

    m_txtFind = new QLineEdit(this);
    m_txtFind->setObjectName(QStringLiteral("txtFind"));
    m_txtFind->setGeometry(Twips::rect(480, 360, 2895, 375));
    m_txtFind->setToolTip(QStringLiteral("Text to Find"));
    // A selection of any length may be looked for.
    m_txtFind->setMaxLength(std::numeric_limits<int>::max());

    m_chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
    m_chkCase->setObjectName(QStringLiteral("chkCase"));
    m_chkCase->setGeometry(Twips::rect(120, 720, 1335, 495));
    m_chkCase->setToolTip(QStringLiteral("Case Sensitivity"));

    auto *frame = new QGroupBox(QStringLiteral("Direction"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(Twips::rect(1560, 720, 2052, 612));
    m_optDirection[0] = new QRadioButton(QStringLiteral("&Up"), frame);
    m_optDirection[0]->setGeometry(Twips::rect(240, 240, 612, 252));
    m_optDirection[0]->setToolTip(QStringLiteral("Search to Beginning of Document"));
    m_optDirection[1] = new QRadioButton(QStringLiteral("&Down"), frame);
    m_optDirection[1]->setGeometry(Twips::rect(960, 240, 852, 252));
    m_optDirection[1]->setToolTip(QStringLiteral("Search to End of Document"));
    m_optDirection[1]->setChecked(true);
    for (int index = 0; index < 2; ++index) {
        m_optDirection[index]->setObjectName(QStringLiteral("optDirection%1").arg(index));
        connect(m_optDirection[index], &QRadioButton::clicked, this, [this, index] { m_state.FindDirection = index; });
    }

    m_cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    m_cmdFind->setObjectName(QStringLiteral("cmdFind"));
    m_cmdFind->setGeometry(Twips::rect(3720, 120, 1092, 372));
    m_cmdFind->setToolTip(QStringLiteral("Start Search"));
    m_cmdFind->setDefault(true);
    m_cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    m_cmdcancel->setGeometry(Twips::rect(3720, 600, 1092, 372));
    m_cmdcancel->setToolTip(QStringLiteral("Return to Notepad"));
    m_cmdcancel->setAutoDefault(false);

    setTabOrder(m_txtFind, m_chkCase);
    setTabOrder(m_chkCase, m_optDirection[0]);
    setTabOrder(m_optDirection[0], m_optDirection[1]);
    setTabOrder(m_optDirection[1], m_cmdFind);
    setTabOrder(m_cmdFind, m_cmdcancel);

    connect(m_txtFind, &QLineEdit::textChanged, this, [this] { txtFind_Change(); });
    connect(m_chkCase, &QCheckBox::toggled, this, [this](bool on) { m_state.FindMatchCase = on; });
    connect(m_cmdFind, &QPushButton::clicked, this, [this] { cmdFind_Click(); });
    connect(m_cmdcancel, &QPushButton::clicked, this, [this] { cmdcancel_Click(); });
}

void frmFind::Form_Load()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().width() / 2 - width() / 2, Twips::pixels(450));
    m_cmdFind->setEnabled(false);
    m_optDirection[m_state.FindDirection == 1 ? 1 : 0]->setChecked(true);
}

void frmFind::txtFind_Change()
{
    m_state.FindFresh = true;
    m_cmdFind->setEnabled(!m_txtFind->text().isEmpty());
}

void frmFind::cmdFind_Click()
{
    m_state.FindWhat = m_txtFind->text();
    m_findNext();
}

void frmFind::cmdcancel_Click()
{
    m_state.FindWhat = m_txtFind->text();
    m_state.FindMatchCase = m_chkCase->isChecked();
    hide();
    Q_EMIT unloadRequested();
}

void frmFind::reject()
{
    cmdcancel_Click();
}

void frmFind::closeEvent(QCloseEvent *event)
{
    // The close box keeps nothing more than the dialog has already stored.
    event->accept();
    Q_EMIT unloadRequested();
}
