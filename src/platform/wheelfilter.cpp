#include "platform/wheelfilter.h"

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>
#include <QWidget>
#include <map>

namespace qv::wheel {

namespace {

constexpr int kNotch = 120;

struct Hooked {
    Form* form = nullptr;
    int pending = 0;
    QMetaObject::Connection gone;
};

std::map<const QWidget*, Hooked>& hooked() {
    static std::map<const QWidget*, Hooked> m;
    return m;
}

long mouseKeys(const QWheelEvent& e) {
    long k = 0;
    const Qt::MouseButtons b = e.buttons();
    if (b & Qt::LeftButton) k |= kLeftButton;
    if (b & Qt::RightButton) k |= kRightButton;
    if (b & Qt::MiddleButton) k |= kMiddleButton;
    if (b & Qt::XButton1) k |= kXButton1;
    if (b & Qt::XButton2) k |= kXButton2;
    if (e.modifiers() & Qt::ShiftModifier) k |= kShift;
    if (e.modifiers() & Qt::ControlModifier) k |= kControl;
    return k;
}

// Watches every wheel event of the application, because a wheel event goes
// first to the widget under the pointer (a grid's viewport), not to its window.
class WheelFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel || !watched->isWidgetType()) return false;
        auto it = hooked().find(static_cast<QWidget*>(watched)->window());
        if (it == hooked().end()) return false;
        auto* we = static_cast<QWheelEvent*>(event);
        const int dy = we->angleDelta().y();
        if (dy == 0) return false;   // a sideways wheel keeps its own behaviour

        Hooked& h = it->second;
        // A turn the other way drops what was left of the last one.
        if ((h.pending > 0 && dy < 0) || (h.pending < 0 && dy > 0)) h.pending = 0;
        h.pending += dy;
        const int notches = h.pending / kNotch;
        h.pending -= notches * kNotch;
        we->accept();
        if (notches == 0) return true;

        Form* form = h.form;
        // Screen coordinates stay signed: a screen left of or above the
        // primary one gives negative positions.
        const QPoint at = we->globalPosition().toPoint();
        const Control::Rect r = form->screenRect();
        if (form->Loaded() && r.left <= at.x() && at.x() <= r.right && r.top <= at.y() && at.y() <= r.bottom)
            form->MouseWheel(mouseKeys(*we), static_cast<long>(notches) * kNotch, at.x(), at.y());
        return true;
    }
};

QPointer<WheelFilter>& filter() {
    static QPointer<WheelFilter> f;
    return f;
}

void forget(const QWidget* w) {
    auto it = hooked().find(w);
    if (it == hooked().end()) return;
    QObject::disconnect(it->second.gone);
    hooked().erase(it);
    if (hooked().empty() && filter()) {
        qApp->removeEventFilter(filter());
        delete filter();
    }
}

}  // namespace

void hook(Form& form) {
    QWidget* w = form.widget();
    if (!w || !qApp || hooked().count(w)) return;
    if (!filter()) {
        filter() = new WheelFilter(qApp);
        qApp->installEventFilter(filter());
    }
    Hooked h;
    h.form = &form;
    h.gone = QObject::connect(w, &QObject::destroyed, [w] { forget(w); });
    hooked()[w] = std::move(h);
}

void unhook(Form& form) { forget(form.widget()); }

}  // namespace qv::wheel
