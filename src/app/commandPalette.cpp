// A tool window built from the command table.
#include "commandPalette.h"

#include <QGridLayout>
#include <QToolButton>

#include "mainFrame.h"

namespace orx::app {

namespace {
constexpr int kColumns = 4;
}

std::vector<const Command*> commandsIssuedBy(Issuer issuer)
{
    std::vector<const Command*> out;
    for (const Command& c : commandTable())
        if (c.issuers & issuer) out.push_back(&c);
    return out;
}

CommandPalette::CommandPalette(CMainFrame& frame, Issuer issuer, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Tool), frame_(frame)
{
    setWindowTitle(title);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    const int32_t language = frame.studio().ws.screenLanguage;
    int n = 0;
    for (const Command* c : commandsIssuedBy(issuer)) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(commandLabel(*c, language)));
        b->setCheckable(isCheckable(*c));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        const int32_t id = c->id;
        // The check mark follows the rule, not the click.
        connect(b, &QToolButton::clicked, this, [this, id] {
            frame_.execute(id);
            refresh();
        });
        grid->addWidget(b, n / kColumns, n % kColumns);
        buttons_[id] = b;
        ++n;
    }
    connect(&frame, &CMainFrame::commandStatesChanged, this, &CommandPalette::refresh);
    refresh();
}

QToolButton* CommandPalette::button(int32_t id) const
{
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void CommandPalette::refresh()
{
    const Workspace& ws = frame_.studio().ws;
    for (auto& [id, b] : buttons_) {
        const Command* c = findCommand(id);
        b->setEnabled(orx::app::isEnabled(*c, ws));
        if (b->isCheckable()) b->setChecked(orx::app::isChecked(*c, ws));
    }
}

}  // namespace orx::app
