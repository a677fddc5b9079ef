#include "panes/Pane.h"

#include "panes/DriveList.h"
#include "panes/FileList.h"
#include "panes/FolderList.h"
#include "panes/PaneGeometry.h"
#include "platform/ui/ToolkitColor.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
template <typename T>
T *placeControl(T *control, const QString &name, const QString &tooltip, const TwipsRect &rect)
{
    control->setObjectName(name);
    control->setToolTip(tooltip);
    control->setGeometry(rect.toPixels());
    return control;
}

template <typename T>
T *makeControl(QWidget *parent, const QString &name, const QString &tooltip, const TwipsRect &rect)
{
    return placeControl(new T(parent), name, tooltip, rect);
}
} // namespace

Pane::Pane(const PaneSpec &spec, QWidget *parent, FolderReadCache &cache) : m_spec(spec)
{
    const PaneRects &rects = PaneGeometry::designRects().at(spec.number - 1);
    m_driveList = makeControl<DriveList>(parent, spec.driveList, PaneTexts::driveTooltip(), rects.driveList);
    m_folderList = placeControl(new FolderList(cache, parent), spec.folderList, spec.folderTooltip, rects.folderList);
    m_fileList = placeControl(new FileList(cache, parent), spec.fileList, PaneTexts::fileTooltip(), rects.fileList);
    m_button = makeControl<QPushButton>(parent, spec.button, PaneTexts::buttonTooltip(), rects.button);
    m_patternBox = makeControl<QLineEdit>(parent, spec.patternBox, PaneTexts::patternTooltip(), rects.patternBox);

    ToolkitColor::setBackColor(m_driveList, spec.driveListColor);
    ToolkitColor::setBackColor(m_folderList, spec.folderListColor);
    ToolkitColor::setBackColor(m_fileList, spec.fileListColor);
    m_button->setText(PaneTexts::buttonCaption());
    m_button->setAutoDefault(false);
    m_patternBox->setText(spec.designPattern);
}

Pane::~Pane()
{
    delete m_driveList.data();
    delete m_folderList.data();
    delete m_fileList.data();
    delete m_button.data();
    delete m_patternBox.data();
}

void Pane::setVisible(bool visible)
{
    m_driveList->setVisible(visible);
    m_folderList->setVisible(visible);
    m_fileList->setVisible(visible);
    m_button->setVisible(visible);
    m_patternBox->setVisible(visible);
}
