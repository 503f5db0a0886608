// "SCAN": a picture from a scanner. "Select Input Device" lists the
// scanners (off the UI thread) into the device list and opens the one
// chosen, the last one used first. The resolution and the area in mm (the
// whole bed, or a rectangle dragged on the picture shown) go with "Start
// Scan"; "Preview" scans the whole bed at a low resolution to drag on. A
// worker thread reads while the progress bar moves; Cancel stops it. A
// scan is saved as a colour, grey or black-and-white RGB file, or handed
// to the working image with "To Screen". A failed or cancelled scan keeps
// the picture shown.
#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "scan/scanner.h"
#include "studio.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace orx::app {

// The picture shown in the dialog, fitted into the widget; a drag on it
// marks the area of the next scan.
class ScanView : public QWidget {
    Q_OBJECT
public:
    explicit ScanView(QWidget* parent = nullptr);
    void setPicture(const ScanImage* picture);
    // The picture's rectangle in the widget (empty without one).
    QRect pictureRect() const;

signals:
    // A drag, as fractions 0..1 of the picture's width and height.
    void dragged(double x0, double y0, double x1, double y1);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image_;
    QPoint from_, to_;
    bool dragging_ = false;
};

class ScanDialog : public QDialog {
    Q_OBJECT
public:
    enum Button { SelectDevice, StartScan, SaveColour, SaveGrey, SaveBlackWhite, ToScreen, Preview, CancelScan, kButtons };

    ScanDialog(Studio& studio, QWidget* parent = nullptr);
    ~ScanDialog() override;

    // After "To Screen": the scan and the device it came from.
    ScanImage takePicture() { return std::move(scan_); }
    const std::string& device() const { return device_; }
    double scannedDpi() const { return shownDpi_; }
    const std::shared_ptr<Scanner>& scanner() const { return scanner_; }

    bool scannerSelected() const { return scanner_ != nullptr; }
    bool scanning() const { return job_ != nullptr; }
    bool hasScan() const { return hasScan_; }
    const ScanImage& picture() const { return shown_; }

    QPushButton* button(Button b) const { return buttons_[b]; }
    QComboBox* devices() const { return devices_; }
    QComboBox* resolution() const { return resolution_; }
    QDoubleSpinBox* areaBox(int i) const { return area_[i]; }
    QProgressBar* progressBar() const { return progress_; }
    ScanView* view() const { return view_; }

    void selectDevice();
    void startScan(bool preview);
    void cancelScan();
    void save(ScanTone tone);
    void toScreen();

signals:
    // A listing, an opening or a scan ended (tests wait for these).
    void devicesListed();
    void deviceOpened(bool ok);
    void scanEnded(int status);

private:
    void listed(bool ok, const std::vector<ScannerInfo>& found, const std::string& why);
    void openDevice(const std::string& name);
    void opened(std::shared_ptr<Scanner> scanner, const std::string& name, const std::string& why);
    void poll();
    void finishScan(ScanResult result);
    void setBusy(bool busy);
    void takeSettings(const std::shared_ptr<Scanner>& scanner);
    void dragged(double x0, double y0, double x1, double y1);
    void message(const std::string& text);

    Studio& studio_;
    std::shared_ptr<Scanner> scanner_;
    std::string device_;
    std::unique_ptr<ScanJob> job_;
    bool jobIsPreview_ = false;
    double jobArea_[4] = {};
    bool scanAfterOpen_ = false;
    bool listing_ = false;
    QTimer poll_;
    ScanBed bed_;

    ScanImage shown_;            // the picture in the view (a scan or a preview)
    double shownArea_[4] = {};   // the mm it covers
    double shownDpi_ = 0;
    double jobDpi_ = 0;
    bool hasScan_ = false;       // shown_ is a scan (not a preview): it may be saved
    ScanImage scan_;             // handed over by "To Screen"

    QPushButton* buttons_[kButtons] = {};
    QComboBox* devices_;
    QComboBox* resolution_;
    QDoubleSpinBox* area_[4] = {};
    QProgressBar* progress_;
    QLabel* status_;
    ScanView* view_;
};

}  // namespace orx::app
