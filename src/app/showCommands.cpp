// "Load and Run MMP" (32876): a show script played in the view. Every
// picture is painted as it comes, SHIFT steps at most 25 a second, and a
// DELAY keeps the window answering; Esc or the right button ends the show
// at the next poll.
#include <QElapsedTimer>

#include "commandContext.h"
#include "commands.h"
#include "engine/showScript.h"

namespace orx::app {

namespace {

constexpr int32_t kShiftStepMs = 1000 / kShiftStepsPerSecond;

class ViewStage : public ShowStage {
public:
    explicit ViewStage(CommandContext& ctx) : ctx_(ctx) {}

    void shown(ShowPicture what, int32_t) override
    {
        const bool step = what == ShowPicture::ShiftStep;
        // A stop pressed while waiting is seen by the poll after the step.
        if (step && clock_.isValid() && clock_.elapsed() < kShiftStepMs)
            ctx_.shell.keepAlive(int32_t(kShiftStepMs - clock_.elapsed()));
        ctx_.ws().platform->redraw(nullptr);
        ctx_.shell.keepAlive(0);
        if (step) clock_.start();
    }

    // A stop during the wait is also told to the platform's poll, so that
    // a recorded macro stops its replay at the same line.
    bool hold(int32_t seconds) override
    {
        if (ctx_.shell.keepAlive(seconds * 1000)) return true;
        ctx_.ws().platform->stopRequested();
        return false;
    }

private:
    CommandContext& ctx_;
    QElapsedTimer clock_;  // since the last SHIFT step was painted
};

}  // namespace

void playShowFile(CommandContext& ctx, const std::string& path)
{
    Workspace& ws = ctx.ws();
    ws.maskVisible = 0;
    redisplay(ctx);
    ViewStage stage(ctx);
    ShowFiles files(ctx.studio.library.library.get());
    playShowScript(ws, path, stage, files);
    redisplay(ctx);
}

void playShow(CommandContext& ctx)
{
    const std::string path = ctx.ws().platform->chooseOpenFile(ctx.text(Msg::TitleSelectMmp), ctx.text(Msg::FilterMmp));
    if (!path.empty()) playShowFile(ctx, path);
}

}  // namespace orx::app
