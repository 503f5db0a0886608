// A tool window built from the command table: one button for each command
// the window issues (the paint palette's, the mesh tool's ...), enabled and
// checked by the commands' rules. A button runs its command through the
// frame, so a disabled command does nothing from here as from a menu. The
// tool windows of the editing tools are made of these.
#pragma once

#include <QWidget>
#include <map>
#include <vector>

#include "commandTable.h"

class QToolButton;

namespace orx::app {

class CMainFrame;

// The commands a tool window issues, in the table's order.
std::vector<const Command*> commandsIssuedBy(Issuer issuer);

class CommandPalette : public QWidget {
    Q_OBJECT
public:
    CommandPalette(CMainFrame& frame, Issuer issuer, const QString& title, QWidget* parent = nullptr);

    QToolButton* button(int32_t id) const;
    // Enabled and checked states from the rules (also after every command).
    void refresh();

private:
    CMainFrame& frame_;
    std::map<int32_t, QToolButton*> buttons_;
};

}  // namespace orx::app
