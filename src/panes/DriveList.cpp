#include "panes/DriveList.h"

#include <QSignalBlocker>

DriveList::DriveList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    // Every change of the shown item, by the user (mouse, keys, wheel) or by code, comes here.
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::onIndexChanged);
}

void DriveList::setDrives(const QList<Drive> &drives)
{
    const QSignalBlocker blocker(this);
    m_drives = drives;
    clear();
    for (const Drive &drive : std::as_const(m_drives))
        addItem(drive.displayText());
    if (m_shown.isEmpty()) {
        m_shown = drive(); // the first drive shows now
        return;
    }
    if (indexOf(m_shown) < 0) {
        m_drives.append(Drive{m_shown, QString()});
        addItem(m_drives.last().displayText());
    }
    setCurrentIndex(indexOf(m_shown));
}

QString DriveList::drive() const
{
    const int index = currentIndex();
    return index >= 0 && index < m_drives.size() ? m_drives.at(index).root : QString();
}

void DriveList::setDrive(const QString &root)
{
    int index = indexOf(root);
    if (index < 0) {
        const QSignalBlocker blocker(this);
        m_drives.append(Drive{root, QString()});
        addItem(m_drives.last().displayText());
        index = int(m_drives.size()) - 1;
    }
    setCurrentIndex(index);
}

void DriveList::showPopup()
{
    Q_EMIT opening();
    QComboBox::showPopup();
}

void DriveList::onIndexChanged(int index)
{
    const QString root = index >= 0 && index < m_drives.size() ? m_drives.at(index).root : QString();
    if (root == m_shown)
        return;
    m_shown = root;
    Q_EMIT changed();
}

int DriveList::indexOf(const QString &root) const
{
    for (int i = 0; i < m_drives.size(); ++i) {
        if (m_drives.at(i).root == root)
            return i;
    }
    return -1;
}
