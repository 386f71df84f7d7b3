#pragma once
// The process's message queue. Messages are posted (queued) or sent (handled at once);
// modal loops pump the same queue.
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "platform/ui/control.h"
#include "platform/ui/messages.h"

namespace vel {

class VEL_API TApplication {
public:
    static TApplication& Instance();

    void PostMessage(HWND handle, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0, const std::string& text = {});
    intptr_t SendMessage(HWND handle, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0, const std::string& text = {});
    // Queues a callback to run on the UI thread when the queue reaches it.
    void PostCallback(std::function<void()> callback);

    // Handles one queued message; false when the queue was empty.
    bool HandleMessage();
    // Handles queued messages until the queue is empty.
    void ProcessMessages();
    size_t QueueLength();

    // Input as a person gives it, through the queue.
    void PostKey(TWinControl& control, uint16_t key, TShiftState shift = 0);
    void PostChar(TWinControl& control, char ch);
    void PostTypeText(TWinControl& control, const std::string& text);
    void PostClick(TControl& control);
    void PostFocus(TWinControl& control);

    std::string Title;
    std::string ExeName;

    // Raised exceptions inside message handling reach this handler (default: rethrow).
    std::function<void(const std::exception&)> OnException;

private:
    TApplication() = default;
    void Dispatch(TMessage& message);

    std::mutex mutex_;
    std::deque<TMessage> queue_;
    std::deque<std::function<void()>> callbacks_;
};

inline TApplication& Application() { return TApplication::Instance(); }

}  // namespace vel
