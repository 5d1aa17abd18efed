// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace dbsift {

/// An event filter that hands a watched object's events to a function; the function answers
/// whether it consumed the event. Owned by the watched object.
class EventHook final : public QObject {
public:
    using Handler = std::function<bool(QEvent*)>;

    static void install(QObject& watched, Handler handler) {
        watched.installEventFilter(new EventHook(watched, std::move(handler)));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    EventHook(QObject& watched, Handler handler) : QObject(&watched), handler_(std::move(handler)) {}

    Handler handler_;
};

} // namespace dbsift
