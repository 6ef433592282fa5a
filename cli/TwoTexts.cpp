#include "cli/TwoTexts.h"

#include "platform/Failure.h"

#include <new>
#include <thread>

using namespace Qt::StringLiterals;

TwoTexts::TwoTexts(const CliOptions& options) : state_(std::make_shared<State>()) {
    for (int i = 0; i < 2; ++i) {
        std::thread([state = state_, i, path = i == 0 ? options.file1 : options.file2,
                     exact = options.exact] {
            std::unique_ptr<InputText> text;
            QString failure;
            try {
                text = std::make_unique<InputText>(path, exact, state->stop);
            } catch (const Failure& f) {
                failure = f.Description();
            } catch (const std::bad_alloc&) {
                failure = u"Out of memory"_s;
            }
            const std::lock_guard lock(state->mutex);
            state->texts[i] = std::move(text);
            state->failures[i] = failure;
            state->done[i] = true;
            state->changed.notify_all();
        }).detach();
    }
}

int TwoTexts::Wait(QString& failure) {
    std::unique_lock lock(state_->mutex);
    for (;;) {
        for (int i = 0; i < 2; ++i) {
            // The first file's trouble is told first when both are known.
            if (state_->done[i] && !state_->failures[i].isEmpty() &&
                (i == 0 || !state_->done[0] || state_->failures[0].isEmpty())) {
                state_->stop = true;
                failure = state_->failures[i];
                return i;
            }
        }
        if (state_->done[0] && state_->done[1])
            return -1;
        state_->changed.wait(lock);
    }
}
