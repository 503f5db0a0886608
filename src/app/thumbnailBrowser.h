// The thumbnail browser: a strip along the bottom or the right edge of the
// screen showing the library's models or materials as cells of thumbnail,
// name and size. A click chooses, a right click deletes after a question,
// a typed letter jumps to the first name that starts with it. The paging,
// hit test and search live in BrowserModel; this widget draws and asks.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "library/browserModel.h"
#include "library/libraryList.h"
#include "studio.h"

class QScrollBar;
class QToolButton;

namespace orx::app {

class ThumbnailBrowser : public QDialog {
    Q_OBJECT
public:
    // purpose 0: a click chooses and closes the browser (accepted), the
    // opener takes choice(). purpose 1: a click chooses and the browser
    // stays; chosen() tells the opener.
    ThumbnailBrowser(Studio& studio, const std::string& title, const std::string& extension, QWidget* parent,
                     int32_t purpose = 0);
    ~ThumbnailBrowser() override;

    // The chosen file: a library name, or a full path in a folder chosen
    // with "Chage folder".
    const std::string& choice() const { return choice_; }
    const BrowserModel& model() const { return model_; }
    int32_t selected() const { return selected_; }
    QScrollBar* scrollBar() const { return scroll_; }
    QToolButton* button(int i) const { return buttons_[i]; }
    const LibraryList& entries() const;

    void changeFolder();
    void changePosition();

signals:
    void chosen(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void place();
    void refreshList();
    void updateCaption(const QString& typed = {});
    void onScroll(int action);
    void choose(int32_t index);
    void askDelete(int32_t index);
    std::string pathOf(int32_t index) const;
    std::vector<std::string> names() const;

    Studio& studio_;
    std::string title_, extension_;
    int32_t purpose_;
    BrowserModel model_;
    int32_t selected_ = -1;
    std::string choice_;
    QScrollBar* scroll_ = nullptr;
    QToolButton* buttons_[3] = {};
    // After "Chage folder": that folder's files instead of the library's.
    std::unique_ptr<Library> folder_;
    LibraryList folderList_;
};

}  // namespace orx::app
