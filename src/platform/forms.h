// Windows and controls as the program's windows use them: positions in twips,
// captions, texts, values, an ordered control collection, load / activate /
// unload events and modal showing. Qt stays behind this header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace qv {

class Form;

enum class ControlKind {
    Label, Button, TextBox, ComboBox, CheckBox, OptionButton, DateField, Picture, SkinForm, Grid, Browser
};

// Twips per pixel of the screen (1440 / logical DPI).
double twipsPerPixel();
int twipsToPixels(double twips);
int pixelsToTwips(int pixels);

class Control {
public:
    Control(Form& owner, ControlKind kind, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    ControlKind Kind() const { return kind_; }
    Form& Parent() const { return owner_; }

    // Geometry in twips, relative to the window. A control is never drawn
    // narrower than it can be seen (a check box keeps its whole box); its
    // Width stays the one it was given.
    void Move(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);

    bool Enabled() const;
    void setEnabled(bool on);
    bool Visible() const;
    void setVisible(bool on);
    bool TabStop() const;
    void setTabStop(bool on);
    void SetFocus();
    bool hasFocus() const;

    // Caption and text, where the kind has them; elsewhere error 438.
    virtual std::string Caption() const;
    virtual void setCaption(const std::string& text);
    virtual std::string Text() const;
    virtual void setText(const std::string& text);

    // The window rectangle on the screen, in pixels (right and bottom edges included).
    struct Rect { int left, top, right, bottom; };
    Rect screenRect() const;

    QWidget* widget() const { return widget_; }

    // The design state is kept at the first load and put back at every later
    // load, so a window loaded again starts as designed.
    virtual void captureDesign();
    virtual void restoreDesign();

protected:
    void setWidget(QWidget* w);
    // The caret goes after the text when the window gives this control the
    // focus it asked for.
    void keepCaretAtEnd();

private:
    Form& owner_;
    ControlKind kind_;
    std::string name_;
    QWidget* widget_ = nullptr;
    bool designEnabled_ = true, designVisible_ = true;
    int askedWidth_ = -1;   // twips, while the control is drawn wider than that
};

class Label : public Control {
public:
    Label(Form& owner, std::string name, const std::string& caption, bool bold = false);
    void setCentered(bool on);
    std::string Caption() const override;
    void setCaption(const std::string& text) override;
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string design_;
};

class CommandButton : public Control {
public:
    CommandButton(Form& owner, std::string name, const std::string& caption);
    std::string Caption() const override;
    void setCaption(const std::string& text) override;
    // Runs the Click handler, as a press of the button does (only when enabled).
    void click();
    std::function<void()> Click;
    // The window's cancel button: Escape anywhere in the window presses it,
    // as it does a dialog's on the desktop.
    void setCancel(bool on);
    // Fixes the caption's point size; 0 shrinks a caption that does not fit
    // on its own.
    void captionFont(double pointSize);
    double captionPointSize() const;
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string design_;
};

// Gives the captions of a group of buttons one point size: the largest at
// which every shown caption fits its button, lines broken between words.
void fitCaptionsAlike(const std::vector<CommandButton*>& buttons);

class TextBox : public Control {
public:
    TextBox(Form& owner, std::string name, bool multiLine = false);
    std::string Text() const override;
    void setText(const std::string& text) override;
    void setLocked(bool locked);
    // Sends the End key: the caret goes after the text (also when the window
    // is shown later).
    void sendEnd();
    void captureDesign() override;
    void restoreDesign() override;
private:
    bool multiLine_;
    std::string design_;
};

class ComboBox : public Control {
public:
    ComboBox(Form& owner, std::string name);
    void AddItem(const std::string& text);
    void Clear();
    int ListCount() const;
    std::string List(int index) const;
    int NewIndex() const { return newIndex_; }
    std::int64_t ItemData(int index) const;
    void setItemData(int index, std::int64_t data);
    int ListIndex() const;
    void setListIndex(int index);   // -1: no selection; out of range raises 380
    std::string Text() const override;   // the selected item's text, or ""
    bool DropDownList() const { return dropDownList_; }
    void setDropDownList(bool on);
    // Changes of the selection (by the user or by setting ListIndex).
    std::function<void()> Change;
    // Key released with its key code (35 End, 36 Home ...) and shift state.
    std::function<void(int keyCode, int shift)> KeyUp;
    void keyUp(int keyCode, int shift = 0);
    void restoreDesign() override;   // the items are filled at run time
private:
    std::vector<std::int64_t> data_;
    int newIndex_ = -1;
    bool dropDownList_ = false;
    bool quiet_ = false;
};

class CheckBox : public Control {
public:
    CheckBox(Form& owner, std::string name, const std::string& caption, bool threeState = false);
    std::string Caption() const override;
    void setCaption(const std::string& text) override;
    int Value() const;              // 0, 1 or 2 (grey)
    void setValue(int value);
    std::function<void()> Click;    // the value changed by the user or by code
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string design_;
    int designValue_ = 0;
    bool quiet_ = false;
};

class OptionButton : public Control {
public:
    OptionButton(Form& owner, std::string name, const std::string& caption);
    std::string Caption() const override;
    void setCaption(const std::string& text) override;
    bool Value() const;
    void setValue(bool on);
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string design_;
    bool designValue_ = false;
};

// A date input shown and read as dd/mm/yyyy in every locale, with a drop-down
// calendar. Its text may still be empty or not a date at all: the windows'
// own checks judge it.
class DateField : public Control {
public:
    DateField(Form& owner, std::string name);
    std::string Text() const override;
    void setText(const std::string& text) override;
    // Puts today's date (the clock's) as dd/mm/yyyy.
    void setToday();
    // Drops the calendar down, as the field's button, Alt+Down and F4 do.
    void dropDown();
    // The caption of the calendar's today button.
    std::string TextForToday() const { return textForToday_; }
    void setTextForToday(const std::string& t);
    // Runs when the focus leaves the field for another control of the window
    // (not for the window's cmdCancel); answering true keeps the focus here.
    std::function<bool()> Validate;
    bool validate();
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string textForToday_ = "Oggi";
    std::string design_;
};

class Picture : public Control {
public:
    Picture(Form& owner, std::string name);
};

// The skinned frame across the top of a window; its caption is the window title.
class SkinForm : public Control {
public:
    SkinForm(Form& owner, std::string name, const std::string& caption);
    std::string Caption() const override;
    void setCaption(const std::string& text) override;
    bool DrawGradientForm() const { return gradient_; }
    void setDrawGradientForm(bool on);
    void setIconFrom(const Form& other);
    void captureDesign() override;
    void restoreDesign() override;
private:
    std::string design_;
    bool gradient_ = false;
};

// Screen and pointer.
namespace screen {
int widthTwips();
int heightTwips();
// 0 default, 11 hourglass. Setting it twice is the same as once.
void setMousePointer(int pointer);
int mousePointer();
}  // namespace screen

class Form {
public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }

    // The control collection, in design order.
    const std::vector<Control*>& Controls() const { return order_; }
    Control* findControl(const std::string& name) const;

    std::string Caption() const;
    void setCaption(const std::string& text);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void setMinimumSize(int widthTwips, int heightTwips);
    Control::Rect screenRect() const;

    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    bool Loaded() const { return loaded_; }
    bool Visible() const;
    // Loads the window when it is not loaded (its Form_Load runs).
    void Load();
    // Shows the main window, not modally: load, show, activate.
    void Show();
    // Shows the window modally above the current one and returns when it is
    // unloaded or hidden; the window below is then activated again.
    void ShowModal();
    // Unloads: Form_Unload runs, the window goes away, its modal show returns.
    void Unload();

    // The windows currently shown, bottom (the main window) first.
    static const std::vector<Form*>& openWindows();

    QWidget* widget() const { return widget_.get(); }

    // Events, overridden by the windows.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}
    // Wheel messages, for windows hooked for the mouse wheel.
    virtual void MouseWheel(long MouseKeys, long Rotation, long Xpos, long Ypos) {
        (void)MouseKeys, (void)Rotation, (void)Xpos, (void)Ypos;
    }

    // Runs the Activate event (the runtime calls it; tests may too).
    void activate();

    // The window's focus chain, the one it links when shown: every control
    // that can take the focus, in the reading order of the window (lines top
    // to bottom, each left to right). Tab visits those with a tab stop; one
    // without keeps its place, so Tab goes on from it after a click into it.
    std::vector<Control*> tabOrder() const;

protected:
    template <class T, class... Args>
    T& add(Args&&... args) {
        auto c = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *c;
        order_.push_back(c.get());
        owned_.push_back(std::move(c));
        return ref;
    }
    template <class T, class... Args>
    T& addAt(int left, int top, int width, int height, Args&&... args) {
        T& c = add<T>(std::forward<Args>(args)...);
        c.Move(left, top, width, height);
        return c;
    }

private:
    friend class Control;
    friend class CommandButton;
    friend struct FormAccess;
    std::string name_;
    std::unique_ptr<QWidget> widget_;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> order_;
    bool loaded_ = false;
    bool everLoaded_ = false;
    bool modal_ = false;
    // The focus the window's code asked for, and whether the caret goes after
    // the text: given once the window is on screen.
    Control* focusRequest_ = nullptr;
    bool caretAtEnd_ = false;
    CommandButton* cancelButton_ = nullptr;
    void windowShown();
    void pressCancel();
};

// How a modal window is run: by default its own event loop; tests replace it
// with a script that drives the window and closes it.
namespace forms {
using ModalRunner = std::function<void(Form&)>;
void setModalRunner(ModalRunner runner);   // nullptr restores the event loop
// Window instances released while their own handler runs are destroyed here,
// at a point where none of their code is on the stack.
void deleteLater(std::unique_ptr<Form> form);
void flushReleased();
// Window instances still held when the program ends are destroyed before the
// application object goes, never by static destruction after it.
void atShutdown(std::function<void()> release);
void shutdown();
}  // namespace forms

// One instance per window class, created on first use and released by the
// window's own Close, OK or Cancel.
template <class T>
class Instance {
public:
    static T& get() {
        static const bool registered = (forms::atShutdown([] { slot().reset(); }), true);
        (void)registered;
        if (!slot()) slot() = std::make_unique<T>();
        return *slot();
    }
    static bool exists() { return slot() != nullptr; }
    static void release() {
        if (slot()) forms::deleteLater(std::move(slot()));
    }

private:
    static std::unique_ptr<T>& slot() {
        static std::unique_ptr<T> s;
        return s;
    }
};

}  // namespace qv
