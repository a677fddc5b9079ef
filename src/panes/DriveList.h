#pragma once

#include "platform/Drives.h"

#include <QComboBox>

// A pane's drive list: a drop-down of the machine's drives. Choosing a drive, or setDrive(),
// raises changed() once the new drive is shown.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    void setDrives(const QList<Drive> &drives);
    // The chosen drive's root.
    QString drive() const;
    // Shows the drive whose root is root (adding it when the list lacks it); raises changed()
    // when it differs from the drive shown.
    void setDrive(const QString &root);

Q_SIGNALS:
    void changed();

private:
    QList<Drive> m_drives;
    QString m_shown;
};
