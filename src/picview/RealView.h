#pragma once

#include "picview/Picture.h"
#include "picview/ViewState.h"

#include <QMainWindow>

#include <memory>
#include <optional>

class MenuTree;
class PictureImage;
class QPushButton;
class QScrollBar;
struct Services;

// The picture viewer: one picture, zoomed along the ladder whose step is the window's
// caption, scrolled vertically, copied to the clipboard or replaced by another picture.
// Closing it asks for an unload; its owner destroys it.
class RealView : public QMainWindow
{
    Q_OBJECT

public:
    explicit RealView(Services &services);
    ~RealView() override;

    // The load sequence: empties the clipboard, then, with a picture path (the file of the
    // first pane with a selection), asks for the picture in the open dialog preset to it and
    // shows it at "True Size". Cancel or a file that gives no picture asks for an unload;
    // without a path the window stays empty.
    void Form_Load(const std::optional<QString> &picturePath);

    // Shows the window maximised without blocking and brings it to the front.
    void showInFront();

    // "Enlarge" (and "Enlarge Picture").
    void Command1_Click();
    // "Reduce" (and "Reduce Picture").
    void Command2_Click();
    void VScroll1_Change(int value);
    void mnuClip_Click();
    void mnuOpen_Click();
    // Prints the picture at once on the default printer, sized by the zoom step's number.
    void mnuPrint_Click();
    void mnuExit_Click();

    const ViewState &state() const { return m_state; }
    const Picture &picture() const;
    // The open dialog's file name: the file whose picture is shown.
    const QString &fileName() const { return m_fileName; }
    const MenuTree &menus() const { return *m_menus; }

Q_SIGNALS:
    void unloadRequested();
    // "Save As": the save-as dialog is its owner's.
    void saveAsRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct OpenedPicture
    {
        QString path;
        Picture picture;
    };
    // The open dialog, starting from its file name, and the picture of the file chosen there;
    // nothing on Cancel or when that file holds no picture.
    std::optional<OpenedPicture> openPicture();
    void connectMenus();
    // Puts the state on the controls: caption, image rectangle, scroll bar.
    void applyState();

    Services &m_services;
    ViewState m_state;
    QString m_fileName;
    QWidget *m_picture1;
    PictureImage *m_image1;
    QPushButton *m_command1;
    QPushButton *m_command2;
    QScrollBar *m_vscroll1;
    std::unique_ptr<MenuTree> m_menus;
};
