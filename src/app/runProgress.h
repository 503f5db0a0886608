// A thin bar along the top of the view's status band that shows how many
// parts of a mapping run are done. It sits on the view without being part
// of it, and follows its size.
#pragma once

#include <QWidget>

namespace orx::app {

class RunProgress : public QWidget {
    Q_OBJECT
public:
    explicit RunProgress(QWidget* view);

    // Shown while 0 < done < total; hidden otherwise.
    void setProgress(int done, int total);
    int done() const { return done_; }
    int total() const { return total_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    int done_ = 0, total_ = 0;
};

}  // namespace orx::app
