#pragma once
// The program's controls in the style. They stay the Windows controls they are (BUTTON, EDIT, STATIC and the
// program's own panels); the style only paints them and gives their parents' colours.
#include "ui/style/gdi.h"
#include "ui/style/styled_window.h"

// A window that holds controls (a form, a dialog, a panel): its surface, and the colours its children ask for.
class StyledContainer : public StyledWindow {
public:
    // A panel has the panel surface and a raised edge; every other container the window surface.
    StyledContainer(HWND hwnd, bool panel) : StyledWindow(hwnd), panel_(panel) {}
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    const StyleColour& Surface() const;
    void PaintPanel(HDC dc);
    bool panel_;
};

// A box the system makes and runs (MessageBoxW's "#32770"). Its own WM_PAINT fills the strip behind its buttons in
// COLOR_3DFACE; the style paints the whole client area instead. Its icon, text and buttons are child controls and
// paint themselves.
class StyledSystemBox : public StyledContainer {
public:
    explicit StyledSystemBox(HWND hwnd) : StyledContainer(hwnd, false) {}
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

// A BUTTON-class control painted whole by the style, with a hot look while the mouse is over it.
class StyledButtonLike : public StyledWindow {
public:
    explicit StyledButtonLike(HWND hwnd) : StyledWindow(hwnd) {}
    ~StyledButtonLike() override;
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    // Paints the button whose repaint waits for the end of the message that holds it, if any. A container calls
    // it before it passes on a button's notification, so that whatever the handler does (a message box, say)
    // shows over a button already in the style's look.
    static void PaintWaitingButton();

protected:
    virtual void Paint(HDC dc) = 0;
    bool hot_ = false;

private:
    void PaintNow();
    int nesting_ = 0;  // messages of this button being handled, one inside another
    // How many of those were open when the button was painted ahead of a notification; -1 when it was not.
    // What they drew came before the notification, so their ends need no further repaint.
    int painted_ahead_within_ = -1;
};

// A push button, with text or a picture.
class StyledButton : public StyledButtonLike {
public:
    using StyledButtonLike::StyledButtonLike;

protected:
    void Paint(HDC dc) override;
};

class StyledCheckBox : public StyledButtonLike {
public:
    using StyledButtonLike::StyledButtonLike;

protected:
    void Paint(HDC dc) override;
};

// An edit field: the border (turquoise while focused), the selection's colours and the caret's. The edit draws
// straight to the screen while the user types or selects; it is painted again in the style right after.
class StyledEdit : public StyledWindow {
public:
    explicit StyledEdit(HWND hwnd) : StyledWindow(hwnd) {}
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void PaintBorder();
    void Paint(HDC dc);
    void PaintNow();
    void ColourCaret();
    StyleBitmap caret_;
};

// Follows the mouse into and out of a control, for its hot look. True when the state changed.
bool TrackHot(HWND hwnd, UINT message, bool& hot);
