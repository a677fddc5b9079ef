#pragma once

#include "picview/RealView.h"
#include "platform/ui/DesignedWindow.h"
#include "platform/ui/SharedWindow.h"

struct Services;

// "Panoptra Picture Saver": saves a copy of the viewer's picture under a typed name, either
// as a byte-for-byte copy of the shown file into a typed folder (offering to create it), or,
// ticked, as the picture in its own kind in the fixed temporary folder. Any use of the viewer
// loads it again when it was closed meanwhile.
class Saveas : public DesignedWindow
{
    Q_OBJECT

public:
    Saveas(Services &services, SharedWindow<RealView> &viewer);

    static const FormDesign &design();

    // "Okay".
    void Command1_Click() override;

private:
    // The ticked way: the picture, in its kind, into the fixed folder.
    void saveToFixedFolder(const QString &name);
    // The folder way, after the checks passed.
    void copyToFolder(const QString &name, const QString &folder);
    void OfferCreateFolder(const QString &name, const QString &folder);
    // Copies the shown file's bytes to target; false (and the message shown) when that failed.
    bool copyShownFile(const QString &target);
    // Writes bytes to target as a file of its own; false (and the message shown) for no bytes
    // or when the write failed.
    bool writeCopy(const QString &target, const std::optional<QByteArray> &bytes);
    void finish();

    Services &m_services;
    SharedWindow<RealView> &m_viewer;
};
