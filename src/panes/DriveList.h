#pragma once

#include "platform/Drives.h"

#include <QComboBox>

// A pane's drive list: a drop-down of the machine's drives. Choosing a drive, or setDrive(),
// raises changed() once the new drive is shown, and only when it differs from the drive shown
// before.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // Fills the list (no event); the drive shown stays when the new list has it.
    void setDrives(const QList<Drive> &drives);
    const QList<Drive> &drives() const { return m_drives; }
    // The chosen drive's root.
    QString drive() const;
    // Shows the drive whose root is root (adding it when the list lacks it); raises changed()
    // when it differs from the drive shown.
    void setDrive(const QString &root);

    // Raises opening() before the drop-down shows, so the list can be read again first.
    void showPopup() override;

Q_SIGNALS:
    void changed();
    // The user is opening the drop-down; what is connected here runs before it shows.
    void opening();

private:
    void onIndexChanged(int index);
    int indexOf(const QString &root) const;

    QList<Drive> m_drives;
    QString m_shown;
};
