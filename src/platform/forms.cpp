#include "platform/forms.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QEventLoop>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScreen>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/environment.h"
#include "platform/locale.h"
#include "platform/runtime.h"

namespace qv {

// The smallest point size a caption is shrunk to so that it fits its control.
constexpr double kSmallestCaption = 6.0;

// The largest point size, from a control's own down to that floor, at which
// its caption fits.
template <class Fits>
double largestFitting(double own, Fits&& fits) {
    double size = own;
    while (size > kSmallestCaption && !fits(size)) size -= 0.5;
    return size;
}

// ---------------------------------------------------------------- twips

double twipsPerPixel() {
    double dpi = 96.0;
    if (auto* s = QGuiApplication::primaryScreen()) dpi = s->logicalDotsPerInch();
    if (dpi <= 0) dpi = 96.0;
    return 1440.0 / dpi;
}

int twipsToPixels(double twips) { return static_cast<int>(std::lround(twips / twipsPerPixel())); }
int pixelsToTwips(int pixels) { return static_cast<int>(std::lround(pixels * twipsPerPixel())); }

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

// Alt with a letter is an access key: one that no control of the window
// answered must not type its letter into the focused box.
class AltLetters : public QObject {
public:
    static void watch() {
        static QPointer<AltLetters> filter;
        if (!filter && qApp) {
            filter = new AltLetters;
            filter->setParent(qApp);
            qApp->installEventFilter(filter);
        }
    }

protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const auto* k = static_cast<QKeyEvent*>(e);
        const auto mods = k->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
        if (mods != Qt::AltModifier || k->text().isEmpty() || !k->text().at(0).isPrint()) return false;
        return qobject_cast<QLineEdit*>(target) || qobject_cast<QPlainTextEdit*>(target) ||
               qobject_cast<QComboBox*>(target);
    }
};

// The window behind a Form: closing it unloads the Form.
class FormWidget : public QDialog {
public:
    explicit FormWidget(Form& f) : form_(f) { AltLetters::watch(); }
    bool unloading = false;

protected:
    void closeEvent(QCloseEvent* e) override {
        // The close box unloads the window. Unload's own close() does nothing
        // while this close runs, so this event is the one that closes it; not
        // through QDialog's handler, whose reject() keeps the window open.
        if (!unloading && form_.Loaded()) form_.Unload();
        e->accept();
    }
    // Escape: the window's cancel button, when it has one (see
    // CommandButton::setCancel); a window without one stays open. A list or
    // calendar dropped down takes its own Escape first.
    void reject() override;
    // The grid takes every key as its own: its Escape is the window's too.
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier && hasCancel()) {
                if (!k->isAutoRepeat()) reject();
                return true;
            }
        }
        return QDialog::eventFilter(watched, e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        // A held Escape closes one window, not the ones below it as well.
        if (e->key() == Qt::Key_Escape && e->isAutoRepeat()) return;
        QDialog::keyPressEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QDialog::resizeEvent(e);
        if (form_.Loaded()) form_.Form_Resize();
    }

public:
    void setVisible(bool visible) override;

private:
    bool hasCancel() const;
    Form& form_;
};

std::vector<Form*>& windowStack() {
    static std::vector<Form*> stack;
    return stack;
}

forms::ModalRunner& modalRunner() {
    static forms::ModalRunner r;
    return r;
}

std::vector<std::unique_ptr<Form>>& released() {
    static std::vector<std::unique_ptr<Form>> r;
    return r;
}

}  // namespace

struct FormAccess {
    static FormWidget* widget(const Form& f) { return static_cast<FormWidget*>(f.widget_.get()); }
    static void shown(Form& f) { f.windowShown(); }
    static CommandButton* cancelButton(const Form& f) { return f.cancelButton_; }
    static void pressCancel(Form& f) { f.pressCancel(); }
};

void FormWidget::reject() { FormAccess::pressCancel(form_); }
bool FormWidget::hasCancel() const { return FormAccess::cancelButton(form_) != nullptr; }

void FormWidget::setVisible(bool visible) {
    // Showing a dialog hands its focus widget a Tab focus event, which selects
    // a text box's whole text: the window's own focus request comes after it.
    QDialog::setVisible(visible);
    if (visible) FormAccess::shown(form_);
}

// ---------------------------------------------------------------- Control

Control::Control(Form& owner, ControlKind kind, std::string name)
    : owner_(owner), kind_(kind), name_(std::move(name)) {}

Control::~Control() = default;

void Control::setWidget(QWidget* w) {
    widget_ = w;
    if (w) {
        w->setParent(owner_.widget());
        w->setObjectName(QString::fromStdString(name_));
    }
}

void Control::Move(int left, int top, int width, int height) {
    if (!widget_) return;
    const int pixels = std::max(0, twipsToPixels(width));
    widget_->setGeometry(twipsToPixels(left), twipsToPixels(top), pixels, std::max(0, twipsToPixels(height)));
    askedWidth_ = widget_->width() != pixels ? width : -1;   // held at the widget's minimum
}

int Control::Left() const { return widget_ ? pixelsToTwips(widget_->x()) : 0; }
int Control::Top() const { return widget_ ? pixelsToTwips(widget_->y()) : 0; }
int Control::Width() const {
    if (!widget_) return 0;
    return askedWidth_ >= 0 ? askedWidth_ : pixelsToTwips(widget_->width());
}
int Control::Height() const { return widget_ ? pixelsToTwips(widget_->height()) : 0; }
void Control::setLeft(int v) { Move(v, Top(), Width(), Height()); }
void Control::setTop(int v) { Move(Left(), v, Width(), Height()); }
void Control::setWidth(int v) { Move(Left(), Top(), v, Height()); }
void Control::setHeight(int v) { Move(Left(), Top(), Width(), v); }

bool Control::Enabled() const { return widget_ ? widget_->isEnabled() : true; }
void Control::setEnabled(bool on) {
    if (widget_) widget_->setEnabled(on);
}
bool Control::Visible() const { return widget_ ? !widget_->isHidden() : false; }
void Control::setVisible(bool on) {
    if (widget_) widget_->setHidden(!on);
}
bool Control::TabStop() const { return widget_ && (widget_->focusPolicy() & Qt::TabFocus) != 0; }
void Control::setTabStop(bool on) {
    if (!widget_) return;
    // Without tab focus the control is skipped by Tab but can still be clicked into.
    const int policy = widget_->focusPolicy();
    widget_->setFocusPolicy(static_cast<Qt::FocusPolicy>(on ? (policy | Qt::StrongFocus) : (policy & ~Qt::TabFocus)));
}
void Control::SetFocus() {
    if (!widget_) return;
    owner_.focusRequest_ = this;
    owner_.caretAtEnd_ = false;
    widget_->setFocus(Qt::OtherFocusReason);
}
void Control::keepCaretAtEnd() {
    if (owner_.focusRequest_ == this) owner_.caretAtEnd_ = true;
}
bool Control::hasFocus() const { return widget_ && widget_->hasFocus(); }

std::string Control::Caption() const { throw RuntimeError(kErrNotSupported); }
void Control::setCaption(const std::string&) { throw RuntimeError(kErrNotSupported); }
std::string Control::Text() const { throw RuntimeError(kErrNotSupported); }
void Control::setText(const std::string&) { throw RuntimeError(kErrNotSupported); }

Control::Rect Control::screenRect() const {
    if (!widget_) return {0, 0, -1, -1};
    const QPoint tl = widget_->mapToGlobal(QPoint(0, 0));
    return {tl.x(), tl.y(), tl.x() + widget_->width(), tl.y() + widget_->height()};
}

void Control::captureDesign() {
    designEnabled_ = Enabled();
    designVisible_ = !widget_ || !widget_->isHidden();
}

void Control::restoreDesign() {
    setEnabled(designEnabled_);
    setVisible(designVisible_);
}

// ---------------------------------------------------------------- Label

Label::Label(Form& owner, std::string name, const std::string& caption, bool bold)
    : Control(owner, ControlKind::Label, std::move(name)) {
    auto* l = new QLabel(q(caption));
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    setWidget(l);
}
void Label::setCentered(bool on) {
    static_cast<QLabel*>(widget())->setAlignment(on ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
}
std::string Label::Caption() const { return s(static_cast<QLabel*>(widget())->text()); }
void Label::setCaption(const std::string& text) { static_cast<QLabel*>(widget())->setText(q(text)); }
void Label::captureDesign() {
    Control::captureDesign();
    design_ = Caption();
}
void Label::restoreDesign() {
    Control::restoreDesign();
    setCaption(design_);
}

// ---------------------------------------------------------------- CommandButton

namespace {
// A mouse press whose focus move a date field refused must not go on to click
// the control that was pressed; the next press anywhere, or the next key (the
// Enter that closes the message), ends the refusal.
class RefusedPress : public QObject {
public:
    static RefusedPress& instance() {
        static RefusedPress r;
        return r;
    }
    void arm() {
        if (armed_ || !qApp) return;
        armed_ = true;
        // Watched from the next turn of the event loop: the press being
        // handled now is the refused one.
        QTimer::singleShot(0, this, [this] {
            if (armed_ && !watching_) {
                qApp->installEventFilter(this);
                watching_ = true;
            }
        });
    }
    // True once for the click that the refused press would give.
    bool swallow() {
        if (!armed_) return false;
        disarm();
        return true;
    }
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        const auto t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::KeyPress || t == QEvent::ShortcutOverride) disarm();
        return false;
    }
private:
    void disarm() {
        if (watching_ && qApp) qApp->removeEventFilter(this);
        watching_ = false;
        armed_ = false;
    }
    bool armed_ = false;
    bool watching_ = false;
};

// A push button whose caption wraps onto several lines, as the tall buttons
// of the windows need; its access key still works.
class WrapButton : public QPushButton {
public:
    WrapButton() {
        label_ = new QLabel(this);
        label_->setWordWrap(true);
        label_->setAlignment(Qt::AlignCenter);
        label_->setTextFormat(Qt::RichText);
        label_->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 2, 4, 2);
        layout->addWidget(label_);
    }
    void setCaption(const QString& caption) {
        caption_ = caption;
        setShortcut(QKeySequence::mnemonic(caption));
        // Tabbed-to buttons answer Enter as well as Space. They are not the
        // dialog's auto-default buttons: Enter in a text box presses nothing.
        // "&x" shows x underlined; "&&" is a plain "&".
        QString html;
        for (int i = 0; i < caption.size(); ++i) {
            const QChar c = caption[i];
            if (c == QLatin1Char('&') && i + 1 < caption.size()) {
                const QChar next = caption[++i];
                html += next == QLatin1Char('&') ? QStringLiteral("&amp;")
                                                  : QStringLiteral("<u>") + QString(next).toHtmlEscaped() + QStringLiteral("</u>");
            } else {
                html += QString(c).toHtmlEscaped();
            }
        }
        label_->setText(html);
        fitCaption();
    }
    const QString& caption() const { return caption_; }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
            click();
            return;
        }
        QPushButton::keyPressEvent(e);
    }
    void resizeEvent(QResizeEvent* e) override {
        QPushButton::resizeEvent(e);
        fitCaption();
    }
    void changeEvent(QEvent* e) override {
        QPushButton::changeEvent(e);
        if (e->type() == QEvent::FontChange) fitCaption();
    }

public:
    // The largest point size, from the button's own down to a floor, at which
    // the caption fits: lines broken between words only, none cut off.
    double fittingSize() const {
        return largestFitting(font().pointSizeF() > 0 ? font().pointSizeF() : 9.0,
                              [this](double size) { return fitsAt(size); });
    }
    // A size given for the caption (a row of buttons that should look alike);
    // 0 fits each caption on its own.
    void setFixedSize(double size) {
        fixedSize_ = size;
        fitCaption();
    }

private:
    bool fitsAt(double size) const {
        const QRect area = rect().adjusted(4, 2, -4, -2);
        if (area.width() <= 0 || area.height() <= 0) return true;
        QFont f = font();
        f.setPointSizeF(size);
        QString plain = caption_;
        plain.remove(QRegularExpression(QStringLiteral("&(?!&)")));
        const QFontMetrics m(f);
        for (const QString& w : plain.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            if (m.horizontalAdvance(w) > area.width()) return false;
        // Laid out as the caption label draws it, by a label kept for the purpose.
        if (!probe_) {
            probe_ = std::make_unique<QLabel>();
            probe_->setWordWrap(true);
            probe_->setTextFormat(Qt::RichText);
        }
        probe_->setFont(f);
        if (probe_->text() != label_->text()) probe_->setText(label_->text());
        return probe_->heightForWidth(area.width()) <= area.height();
    }
    void fitCaption() {
        const double size = fixedSize_ > 0 ? fixedSize_ : fittingSize();
        QFont f = font();
        if (fixedSize_ <= 0 && size >= (f.pointSizeF() > 0 ? f.pointSizeF() : 9.0)) {
            label_->setFont(QFont());   // the button's own font
            return;
        }
        f.setPointSizeF(size);
        label_->setFont(f);
    }

    QLabel* label_;
    mutable std::unique_ptr<QLabel> probe_;
    QString caption_;
    double fixedSize_ = 0;
};
}  // namespace

CommandButton::CommandButton(Form& owner, std::string name, const std::string& caption)
    : Control(owner, ControlKind::Button, std::move(name)) {
    auto* b = new WrapButton;
    b->setCaption(q(caption));
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, [this] {
        if (!RefusedPress::instance().swallow()) click();
    });
    setWidget(b);
}
std::string CommandButton::Caption() const { return s(static_cast<WrapButton*>(widget())->caption()); }
void CommandButton::setCaption(const std::string& text) { static_cast<WrapButton*>(widget())->setCaption(q(text)); }
void CommandButton::click() {
    if (Enabled() && Click) Click();
}
void CommandButton::setCancel(bool on) {
    Form& f = Parent();
    if (on)
        f.cancelButton_ = this;
    else if (f.cancelButton_ == this)
        f.cancelButton_ = nullptr;
}
void CommandButton::captureDesign() {
    Control::captureDesign();
    design_ = Caption();
}

void fitCaptionsAlike(const std::vector<CommandButton*>& buttons) {
    double size = 0;   // none shown: each caption fits on its own
    for (CommandButton* b : buttons) {
        if (!b->Visible()) continue;
        const double fit = static_cast<WrapButton*>(b->widget())->fittingSize();
        size = size > 0 ? std::min(size, fit) : fit;
    }
    for (CommandButton* b : buttons) b->captionFont(size);
}
void CommandButton::captionFont(double pointSize) { static_cast<WrapButton*>(widget())->setFixedSize(pointSize); }
double CommandButton::captionPointSize() const {
    const QWidget* label = widget()->findChild<QLabel*>();
    return label ? label->font().pointSizeF() : widget()->font().pointSizeF();
}
void CommandButton::restoreDesign() {
    Control::restoreDesign();
    setCaption(design_);
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Form& owner, std::string name, bool multiLine)
    : Control(owner, ControlKind::TextBox, std::move(name)), multiLine_(multiLine) {
    if (multiLine) {
        auto* edit = new QPlainTextEdit;
        // Tab goes on to the next control, as in every other box of the window.
        edit->setTabChangesFocus(true);
        setWidget(edit);
    } else {
        auto* edit = new QLineEdit;
        // Qt's default cuts a text at 32,767 characters without a word; the
        // database keeps any length.
        edit->setMaxLength(std::numeric_limits<int>::max());
        setWidget(edit);
    }
}
std::string TextBox::Text() const {
    QString text = multiLine_ ? static_cast<QPlainTextEdit*>(widget())->toPlainText()
                              : static_cast<QLineEdit*>(widget())->text();
    // A NUL cannot be typed, only pasted, and no stored text may hold one (it
    // would end the statement's text): the box does not give it. Every other
    // character is given as it stands.
    text.remove(QChar(u'\0'));
    return s(text);
}
void TextBox::setText(const std::string& text) {
    if (multiLine_)
        static_cast<QPlainTextEdit*>(widget())->setPlainText(q(text));
    else
        static_cast<QLineEdit*>(widget())->setText(q(text));
}
void TextBox::setLocked(bool locked) {
    if (multiLine_)
        static_cast<QPlainTextEdit*>(widget())->setReadOnly(locked);
    else
        static_cast<QLineEdit*>(widget())->setReadOnly(locked);
}
void TextBox::sendEnd() {
    keepCaretAtEnd();
    if (multiLine_) {
        auto* e = static_cast<QPlainTextEdit*>(widget());
        e->moveCursor(QTextCursor::End);
    } else {
        static_cast<QLineEdit*>(widget())->end(false);
    }
}
void TextBox::captureDesign() {
    Control::captureDesign();
    design_ = Text();
}
void TextBox::restoreDesign() {
    Control::restoreDesign();
    setText(design_);
}

// ---------------------------------------------------------------- ComboBox

namespace {
// A letter typed into a pick-only list would select the first item starting
// with it, and OK would store that item: such lists have no type-ahead, in
// the box or in its drop-down. The arrows, Home, End and the mouse still pick.
bool isTypeAhead(const QComboBox& box, const QKeyEvent& e) {
    if (box.isEditable() || e.key() == Qt::Key_Space) return false;
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    return !e.text().isEmpty() && e.text().at(0).isPrint();
}

class KeyComboBox : public QComboBox {
public:
    explicit KeyComboBox(ComboBox& c) : combo_(c) {
        // Our filter on the drop-down comes after the box's own, so it runs first.
        view()->installEventFilter(this);
    }
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == view() && e->type() == QEvent::KeyPress && isTypeAhead(*this, *static_cast<QKeyEvent*>(e)))
            return true;
        return QComboBox::eventFilter(watched, e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (isTypeAhead(*this, *e)) return;   // taken, doing nothing
        QComboBox::keyPressEvent(e);
    }
    void paintEvent(QPaintEvent*) override {
        // As QComboBox paints, but a pick-only list shows that it has the focus
        // however the focus came, as a text box does: the style draws a focus
        // frame otherwise only after Tab.
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        if (!isEditable() && (opt.state & QStyle::State_HasFocus)) opt.state |= QStyle::State_KeyboardFocusChange;
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        QComboBox::keyReleaseEvent(e);
        int code = 0;
        switch (e->key()) {
            case Qt::Key_End: code = 35; break;
            case Qt::Key_Home: code = 36; break;
            case Qt::Key_Delete: code = 46; break;
            default: code = e->key() < 256 ? e->key() : 0;
        }
        if (code) combo_.keyUp(code, 0);
    }
private:
    ComboBox& combo_;
};
}  // namespace

ComboBox::ComboBox(Form& owner, std::string name) : Control(owner, ControlKind::ComboBox, std::move(name)) {
    auto* c = new KeyComboBox(*this);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCurrentIndex(-1);
    QObject::connect(c, &QComboBox::currentIndexChanged, [this](int) {
        if (!quiet_ && Change) Change();
    });
    setWidget(c);
}
void ComboBox::AddItem(const std::string& text) {
    auto* c = static_cast<QComboBox*>(widget());
    quiet_ = true;
    const int keep = c->currentIndex();
    c->addItem(q(text));
    c->setCurrentIndex(keep);
    if (keep < 0 && c->isEditable()) c->setEditText(QString());
    quiet_ = false;
    data_.push_back(0);
    newIndex_ = c->count() - 1;
}
void ComboBox::Clear() {
    quiet_ = true;
    static_cast<QComboBox*>(widget())->clear();
    quiet_ = false;
    data_.clear();
    newIndex_ = -1;
}
int ComboBox::ListCount() const { return static_cast<QComboBox*>(widget())->count(); }
std::string ComboBox::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return s(static_cast<QComboBox*>(widget())->itemText(index));
}
std::int64_t ComboBox::ItemData(int index) const {
    if (index < 0 || index >= static_cast<int>(data_.size())) throw RuntimeError(381, "Invalid property array index");
    return data_[static_cast<std::size_t>(index)];
}
void ComboBox::setItemData(int index, std::int64_t data) {
    if (index < 0 || index >= static_cast<int>(data_.size())) throw RuntimeError(381, "Invalid property array index");
    data_[static_cast<std::size_t>(index)] = data;
}
int ComboBox::ListIndex() const { return static_cast<QComboBox*>(widget())->currentIndex(); }
void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw RuntimeError(380, "Invalid property value");
    auto* c = static_cast<QComboBox*>(widget());
    if (c->currentIndex() == index) return;
    c->setCurrentIndex(index);
    if (index < 0 && c->isEditable()) c->setEditText(QString());
}
std::string ComboBox::Text() const {
    const int i = ListIndex();
    return i < 0 ? std::string() : List(i);
}
void ComboBox::setDropDownList(bool on) {
    dropDownList_ = on;
    auto* c = static_cast<QComboBox*>(widget());
    quiet_ = true;
    const int keep = c->currentIndex();
    c->setEditable(!on);
    c->setCurrentIndex(keep);
    quiet_ = false;
}
void ComboBox::keyUp(int keyCode, int shift) {
    if (KeyUp) KeyUp(keyCode, shift);
}
void ComboBox::restoreDesign() {
    Control::restoreDesign();
    Clear();
}

// ---------------------------------------------------------------- CheckBox

namespace {
// Our fonts are wider than the ones the windows were laid out for: a caption
// that does not fit its box at its own font gets a smaller one, down to a
// floor, rather than losing its last letters. A box too narrow for any size
// keeps its font. However narrow its window makes it, the box itself stays
// whole, so that its state can be seen and clicked.
class FitCheckBox : public QCheckBox {
public:
    explicit FitCheckBox(const QString& text) : QCheckBox(text) { keepIndicator(); }
    void fit() {
        if (fitting_) return;
        fitting_ = true;
        setFont(QFont());
        const double own = font().pointSizeF() > 0 ? font().pointSizeF() : 9.0;
        const int indicator = sizeHint().width() - fontMetrics().horizontalAdvance(text());
        const auto fits = [&](double size) {
            QFont f = font();
            f.setPointSizeF(size);
            return indicator + QFontMetrics(f).horizontalAdvance(text()) <= width();
        };
        if (!text().isEmpty() && !fits(own) && fits(kSmallestCaption)) {
            QFont f = font();
            f.setPointSizeF(largestFitting(own, fits));
            setFont(f);
        }
        fitting_ = false;
    }

protected:
    // A three-state box goes grey -> clear -> ticked -> grey. Ticking one of
    // a pair of boxes that exclude each other greys the other, so in Qt's
    // order (grey -> ticked -> clear) "ticked and clear" or "clear and clear"
    // could never be clicked into.
    void nextCheckState() override {
        if (!isTristate()) return QCheckBox::nextCheckState();
        switch (checkState()) {
            case Qt::PartiallyChecked: setCheckState(Qt::Unchecked); break;
            case Qt::Unchecked: setCheckState(Qt::Checked); break;
            case Qt::Checked: setCheckState(Qt::PartiallyChecked); break;
        }
    }
    void resizeEvent(QResizeEvent* e) override {
        QCheckBox::resizeEvent(e);
        fit();
    }
    void changeEvent(QEvent* e) override {
        QCheckBox::changeEvent(e);
        if (e->type() == QEvent::StyleChange) keepIndicator();
    }

private:
    void keepIndicator() {
        QStyleOptionButton option;
        initStyleOption(&option);
        setMinimumWidth(style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this));
    }
    bool fitting_ = false;
};
}  // namespace

CheckBox::CheckBox(Form& owner, std::string name, const std::string& caption, bool threeState)
    : Control(owner, ControlKind::CheckBox, std::move(name)) {
    auto* c = new FitCheckBox(q(caption));
    c->setTristate(threeState);
    auto click = [this] {
        if (!quiet_ && Click) Click();
    };
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QObject::connect(c, &QCheckBox::checkStateChanged, click);
#else
    QObject::connect(c, &QCheckBox::stateChanged, click);
#endif
    setWidget(c);
}
std::string CheckBox::Caption() const { return s(static_cast<QCheckBox*>(widget())->text()); }
void CheckBox::setCaption(const std::string& text) {
    auto* c = static_cast<FitCheckBox*>(widget());
    c->setText(q(text));
    c->fit();
}
int CheckBox::Value() const {
    switch (static_cast<QCheckBox*>(widget())->checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}
void CheckBox::setValue(int value) {
    auto* c = static_cast<QCheckBox*>(widget());
    if (value == 2) c->setTristate(true);
    if (value < 0 || value > 2) throw RuntimeError(380, "Invalid property value");
    c->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}
void CheckBox::captureDesign() {
    Control::captureDesign();
    design_ = Caption();
    designValue_ = Value();
}
void CheckBox::restoreDesign() {
    Control::restoreDesign();
    setCaption(design_);
    quiet_ = true;
    setValue(designValue_);
    quiet_ = false;
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Form& owner, std::string name, const std::string& caption)
    : Control(owner, ControlKind::OptionButton, std::move(name)) {
    setWidget(new QRadioButton(q(caption)));
}
std::string OptionButton::Caption() const { return s(static_cast<QRadioButton*>(widget())->text()); }
void OptionButton::setCaption(const std::string& text) {
    static_cast<QRadioButton*>(widget())->setText(q(text));
}
bool OptionButton::Value() const { return static_cast<QRadioButton*>(widget())->isChecked(); }
void OptionButton::setValue(bool on) { static_cast<QRadioButton*>(widget())->setChecked(on); }
void OptionButton::captureDesign() {
    Control::captureDesign();
    design_ = Caption();
    designValue_ = Value();
}
void OptionButton::restoreDesign() {
    Control::restoreDesign();
    setCaption(design_);
    setValue(designValue_);
}

// ---------------------------------------------------------------- DateField

namespace {
// The field's drop-down calendar with its today button. Choosing a day puts
// it into the field as dd/mm/yyyy; Escape or a click elsewhere leaves the
// field as it was.
class CalendarPopup : public QFrame {
public:
    explicit CalendarPopup(QLineEdit* field) : QFrame(field, Qt::Popup), field_(field) {
        setFrameShape(QFrame::Box);
        setObjectName(QStringLiteral("calendarPopup"));
        calendar_ = new QCalendarWidget(this);
        calendar_->setObjectName(QStringLiteral("calendar"));
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar_->setGridVisible(true);
        today_ = new QPushButton(this);
        today_->setObjectName(QStringLiteral("today"));
        auto* box = new QVBoxLayout(this);
        box->setContentsMargins(2, 2, 2, 2);
        box->setSpacing(2);
        box->addWidget(calendar_);
        box->addWidget(today_);
        connect(calendar_, &QCalendarWidget::clicked, this, &CalendarPopup::choose);
        connect(calendar_, &QCalendarWidget::activated, this, &CalendarPopup::choose);
        connect(today_, &QPushButton::clicked, this, [this] { choose(todayDate()); });
    }

    void open(const std::string& todayText) {
        today_->setText(q(todayText));
        // Day and month names in the program's language, the week as the machine starts it.
        const QLocale machine;
        calendar_->setLocale(QLocale(env::english() ? QLocale::English : QLocale::Italian, machine.territory()));
        calendar_->setFirstDayOfWeek(machine.firstDayOfWeek());
        QDate shown = todayDate();
        if (const auto d = locale::parseInputDate(s(field_->text()))) shown = QDate(d->year, d->month, d->day);
        calendar_->setSelectedDate(shown);
        adjustSize();
        // Below the field, or above it where the screen ends.
        QPoint at = field_->mapToGlobal(QPoint(0, field_->height()));
        if (const QScreen* sc = field_->screen()) {
            const QRect avail = sc->availableGeometry();
            if (at.y() + height() > avail.bottom()) at.setY(field_->mapToGlobal(QPoint(0, 0)).y() - height());
            at.setX(std::clamp(at.x(), avail.left(), std::max(avail.left(), avail.right() - width())));
        }
        move(at);
        show();
        calendar_->setFocus(Qt::PopupFocusReason);
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QFrame::keyPressEvent(e);
    }
    void hideEvent(QHideEvent* e) override {
        QFrame::hideEvent(e);
        if (field_->isVisible()) field_->setFocus(Qt::PopupFocusReason);
    }

private:
    static QDate todayDate() {
        const DateTime n = env::now();
        return QDate(n.year, n.month, n.day);
    }
    void choose(QDate d) {
        if (!d.isValid()) return;
        field_->setText(q(locale::formatInputDate({d.year(), d.month(), d.day(), 0, 0, 0})));
        close();
    }
    QLineEdit* field_;
    QCalendarWidget* calendar_;
    QPushButton* today_;
};

// The date field's editor: free text (empty or not a date are allowed), a
// button that drops the calendar down (Alt+Down and F4 too), and validation
// when the focus moves on to another control.
class DateEdit : public QLineEdit {
public:
    explicit DateEdit(DateField& f) : field_(f) {
        QAction* drop = addAction(dropIcon(), QLineEdit::TrailingPosition);
        drop->setObjectName(QStringLiteral("dropDown"));
        connect(drop, &QAction::triggered, this, [this] { openCalendar(); });
    }
    void openCalendar() {
        if (!popup_) popup_ = new CalendarPopup(this);
        popup_->open(field_.TextForToday());
    }
protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_F4 || (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier))) {
            openCalendar();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        const auto reason = e->reason();
        if (busy_ || (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason && reason != Qt::MouseFocusReason))
            return;
        QWidget* next = QApplication::focusWidget();
        if (!next || next->window() != window()) return;
        for (QWidget* w = next; w && w != window(); w = w->parentWidget())
            if (w->objectName() == QLatin1String("cmdCancel")) return;
        busy_ = true;
        const bool cancel = field_.validate();
        busy_ = false;
        if (cancel) {
            if (reason == Qt::MouseFocusReason) RefusedPress::instance().arm();
            setFocus(Qt::OtherFocusReason);
        }
    }
private:
    // A small down arrow, drawn so that it looks the same under every style.
    static QIcon dropIcon() {
        QPixmap pm(12, 12);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
        return QIcon(pm);
    }
    DateField& field_;
    CalendarPopup* popup_ = nullptr;
    bool busy_ = false;
};
}  // namespace

DateField::DateField(Form& owner, std::string name) : Control(owner, ControlKind::DateField, std::move(name)) {
    setWidget(new DateEdit(*this));
}
bool DateField::validate() { return Validate ? Validate() : false; }
std::string DateField::Text() const { return s(static_cast<QLineEdit*>(widget())->text()); }
void DateField::setText(const std::string& text) { static_cast<QLineEdit*>(widget())->setText(q(text)); }
void DateField::setToday() {
    const DateTime n = env::now();
    setText(locale::formatInputDate({n.year, n.month, n.day, 0, 0, 0}));
}
void DateField::dropDown() { static_cast<DateEdit*>(widget())->openCalendar(); }
void DateField::setTextForToday(const std::string& t) { textForToday_ = t; }
void DateField::captureDesign() {
    Control::captureDesign();
    design_ = Text();
}
void DateField::restoreDesign() {
    Control::restoreDesign();
    setText(design_);
}

// ---------------------------------------------------------------- Picture, SkinForm

Picture::Picture(Form& owner, std::string name) : Control(owner, ControlKind::Picture, std::move(name)) {
    auto* l = new QLabel;
    l->setFrameShape(QFrame::NoFrame);
    setWidget(l);
}

SkinForm::SkinForm(Form& owner, std::string name, const std::string& caption)
    : Control(owner, ControlKind::SkinForm, std::move(name)) {
    auto* l = new QLabel(q(caption));
    l->setTextFormat(Qt::PlainText);
    l->setIndent(8);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    setWidget(l);
}
std::string SkinForm::Caption() const { return s(static_cast<QLabel*>(widget())->text()); }
void SkinForm::setCaption(const std::string& text) {
    static_cast<QLabel*>(widget())->setText(q(text));
    if (!text.empty()) Parent().widget()->setWindowTitle(q(text));
}
void SkinForm::setDrawGradientForm(bool on) {
    gradient_ = on;
    widget()->setStyleSheet(on ? QStringLiteral("QLabel { color: white; background: qlineargradient(x1:0, y1:0, "
                                                "x2:1, y2:0, stop:0 #336699, stop:1 #a9c4e0); }")
                               : QString());
}
void SkinForm::setIconFrom(const Form& other) { Parent().widget()->setWindowIcon(other.widget()->windowIcon()); }
void SkinForm::captureDesign() {
    Control::captureDesign();
    design_ = Caption();
}
void SkinForm::restoreDesign() {
    Control::restoreDesign();
    setCaption(design_);
}

// ---------------------------------------------------------------- screen

namespace screen {
namespace {
int& pointer() {
    static int p = 0;
    return p;
}
}  // namespace

int widthTwips() {
    auto* sc = QGuiApplication::primaryScreen();
    return sc ? pixelsToTwips(sc->geometry().width()) : 0;
}
int heightTwips() {
    auto* sc = QGuiApplication::primaryScreen();
    return sc ? pixelsToTwips(sc->geometry().height()) : 0;
}
void setMousePointer(int p) {
    const bool busy = p == 11;
    const bool wasBusy = pointer() == 11;
    pointer() = p;
    if (!qApp || busy == wasBusy) return;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
int mousePointer() { return pointer(); }
}  // namespace screen

// ---------------------------------------------------------------- Form

Form::Form(std::string name) : name_(std::move(name)), widget_(std::make_unique<FormWidget>(*this)) {
    widget_->setWindowTitle(QStringLiteral("Quorvel"));
}

Form::~Form() {
    auto& st = windowStack();
    st.erase(std::remove(st.begin(), st.end(), this), st.end());
    // Controls' widgets are children of the window widget; drop our pointers first.
    order_.clear();
    owned_.clear();
}

Control* Form::findControl(const std::string& name) const {
    for (auto* c : order_)
        if (c->Name() == name) return c;
    return nullptr;
}

std::string Form::Caption() const { return s(widget_->windowTitle()); }
void Form::setCaption(const std::string& text) { widget_->setWindowTitle(q(text)); }

int Form::Left() const { return pixelsToTwips(widget_->x()); }
int Form::Top() const { return pixelsToTwips(widget_->y()); }
int Form::Width() const { return pixelsToTwips(widget_->width()); }
int Form::Height() const { return pixelsToTwips(widget_->height()); }
void Form::setLeft(int v) { widget_->move(twipsToPixels(v), widget_->y()); }
void Form::setTop(int v) { widget_->move(widget_->x(), twipsToPixels(v)); }
void Form::setWidth(int v) { widget_->resize(std::max(1, twipsToPixels(v)), widget_->height()); }
void Form::setHeight(int v) { widget_->resize(widget_->width(), std::max(1, twipsToPixels(v))); }
void Form::setMinimumSize(int w, int h) { widget_->setMinimumSize(twipsToPixels(w), twipsToPixels(h)); }
Control::Rect Form::screenRect() const {
    const QRect g = widget_->frameGeometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

bool Form::Visible() const { return widget_->isVisible(); }

int Form::WindowState() const {
    if (widget_->isMinimized()) return 1;
    if (widget_->isMaximized()) return 2;
    return 0;
}

const std::vector<Form*>& Form::openWindows() { return windowStack(); }

void Form::Load() {
    if (loaded_) return;
    if (everLoaded_) {
        for (auto* c : order_) c->restoreDesign();
    } else {
        for (auto* c : order_) c->captureDesign();
        everLoaded_ = true;
    }
    loaded_ = true;
    Form_Load();
}

void Form::activate() {
    if (loaded_) Form_Activate();
}

namespace {
// Controls in reading order: a control belongs to the line of the first one
// above it when it starts above that one's middle.
std::vector<Control*> readingOrder(std::vector<Control*> controls) {
    auto top = [](const Control* c) { return c->widget()->y(); };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](const Control* a, const Control* b) { return top(a) < top(b); });
    for (auto line = controls.begin(); line != controls.end();) {
        const QWidget* first = (*line)->widget();
        const int middle = first->y() + std::max(1, first->height() / 2);
        auto end = std::find_if(line, controls.end(), [&](const Control* c) { return top(c) >= middle; });
        std::stable_sort(line, end, [](const Control* a, const Control* b) { return a->widget()->x() < b->widget()->x(); });
        line = end;
    }
    return controls;
}

bool takesFocus(const Control* c, Qt::FocusPolicy need) {
    return c->widget() && (c->widget()->focusPolicy() & need) == need;
}
}  // namespace

std::vector<Control*> Form::tabOrder() const {
    // The collection order serves printing and remembered inputs; Tab follows
    // what the user reads.
    std::vector<Control*> out;
    for (Control* c : order_)
        if (c->widget() && c->widget()->focusPolicy() != Qt::NoFocus) out.push_back(c);
    return readingOrder(std::move(out));
}

void Form::pressCancel() {
    if (cancelButton_ && loaded_ && cancelButton_->Visible()) cancelButton_->click();
}

void Form::windowShown() {
    const std::vector<Control*> chain = tabOrder();
    for (Control* c : chain)
        if (c->Kind() == ControlKind::Grid) c->widget()->installEventFilter(widget_.get());
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1]->widget(), chain[i]->widget());

    auto usable = [](const Control* c) { return c->widget()->isVisibleTo(c->Parent().widget()) && c->widget()->isEnabled(); };
    Control* target = focusRequest_ && usable(focusRequest_) ? focusRequest_ : nullptr;
    const bool asked = target != nullptr;
    if (!target)
        for (Control* c : chain)
            if (takesFocus(c, Qt::TabFocus) && usable(c)) {
                target = c;
                break;
            }
    focusRequest_ = nullptr;
    if (!target) return;
    target->widget()->setFocus(Qt::OtherFocusReason);
    // Typing into a window just opened adds to the text it shows.
    if (auto* line = qobject_cast<QLineEdit*>(target->widget())) {
        line->deselect();
        if (caretAtEnd_ || !asked) line->end(false);
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(target->widget())) {
        if (caretAtEnd_ || !asked) text->moveCursor(QTextCursor::End);
    }
    caretAtEnd_ = false;
}

void Form::Show() {
    Load();
    if (!loaded_) return;
    auto& st = windowStack();
    if (std::find(st.begin(), st.end(), this) == st.end()) st.push_back(this);
    widget_->show();
    activate();
}

void Form::ShowModal() {
    Load();
    if (!loaded_) return;   // the load handler unloaded the window
    auto& st = windowStack();
    Form* below = st.empty() ? nullptr : st.back();
    st.push_back(this);
    modal_ = true;
    activate();
    if (loaded_) {
        if (modalRunner()) {
            modalRunner()(*this);
        } else {
            auto* w = FormAccess::widget(*this);
            w->setModal(true);
            w->exec();
        }
        // A script or loop that ends with the window still loaded closes it as the close box does.
        if (loaded_) Unload();
    }
    modal_ = false;
    st.erase(std::remove(st.begin(), st.end(), this), st.end());
    // Nothing of this window may be touched after the flush: it may be released.
    forms::flushReleased();
    if (below && std::find(st.begin(), st.end(), below) != st.end()) below->activate();
}

void Form::Unload() {
    if (!loaded_) return;
    Form_Unload();
    loaded_ = false;
    focusRequest_ = nullptr;
    auto* w = FormAccess::widget(*this);
    w->unloading = true;
    if (w->isVisible()) {
        if (modal_)
            w->done(0);
        else
            w->close();
    }
    w->unloading = false;
    auto& st = windowStack();
    if (!modal_) st.erase(std::remove(st.begin(), st.end(), this), st.end());
}

namespace forms {
void setModalRunner(ModalRunner runner) { modalRunner() = std::move(runner); }
void deleteLater(std::unique_ptr<Form> form) { released().push_back(std::move(form)); }
namespace {
std::vector<std::function<void()>>& shutdownList() {
    static std::vector<std::function<void()>> l;
    return l;
}
}  // namespace
void atShutdown(std::function<void()> release) { shutdownList().push_back(std::move(release)); }
void shutdown() {
    for (auto it = shutdownList().rbegin(); it != shutdownList().rend(); ++it) (*it)();
    flushReleased();
}
void flushReleased() {
    auto doomed = std::move(released());
    released().clear();
    doomed.clear();
}
}  // namespace forms

}  // namespace qv
