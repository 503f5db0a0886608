// Printing the working image through Qt's printers, a PDF file too: the
// page of a print type (printLayout.h) drawn in bands, the "Select Print
// Type" dialog, the preview, and the PDF printer a macro asks for.
#pragma once

#include <QDialog>
#include <string>

#include "workspace/workspace.h"

class QPainter;
class QPrinter;
class QPrintPreviewWidget;
class QRadioButton;

namespace orx::app {

// Draws the page on a painter that is open on a printer: the image placed
// by its print type, in bands of whole rows of at most 8 MB.
void paintImagePage(const Workspace& ws, QPainter& painter, int32_t type);

// The same page for a preview on the screen: placed on the printer's page,
// drawn from at most kPreviewSide pixels along the page's longer side.
constexpr int32_t kPreviewSide = 2000;
void paintPreviewPage(const Workspace& ws, QPainter& painter, int32_t type);

// Prints the page as "VLX Print Job". A PDF is written at 600 dpi beside its
// name and renamed in once complete. False after the message that says why.
bool printImagePage(Workspace& ws, QPrinter& printer, int32_t type);

// A PDF printer: the file, the paper ("a4", "letter" or "WxHin") and no margins.
void setPdfPrinter(QPrinter& printer, const std::string& path, const std::string& paper);
// The paper of a printer as setPdfPrinter reads it ("8.27x11.69in").
std::string paperText(const QPrinter& printer);

// "Select Print Type": the four placements, "Print" and "Cancel".
class PrintTypeDialog : public QDialog {
    Q_OBJECT
public:
    PrintTypeDialog(const Workspace& ws, int32_t type, QWidget* parent = nullptr);
    // The chosen placement (1, 2, 4 or 5).
    int32_t type() const;
    QRadioButton* button(int32_t type) const;

private:
    QRadioButton* buttons_[4];
};

// The page in a preview with "Print" and "Cancel". Print emits
// printRequested; the dialog closes when it is accepted.
class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    PrintPreviewDialog(const Workspace& ws, int32_t type, QPrinter& printer, QWidget* parent = nullptr);
    QPrintPreviewWidget* preview() const { return preview_; }

signals:
    void printRequested();

private:
    QPrintPreviewWidget* preview_;
};

}  // namespace orx::app
