// A picture of the program's resources shown in its own colours on a 256-colour display.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
// A GDI object deleted when it goes out of scope.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// A palette bitmap of the resources (plain or run-length encoded) as a DIB section with the
// same colour table, and a logical palette of those colours. A static control (SS_BITMAP)
// shows it; the dialog selects the palette into the static's painting when the static asks
// for its colours, and realises it when the palettes of the display change. Empty when the
// resource is missing or not a palette bitmap.
class CPalettePicture {
public:
    explicit CPalettePicture(UINT bitmapId);

    bool Empty() const { return !m_bitmap; }

    HBITMAP Bitmap() const { return m_bitmap.get(); }

    // Gives the picture to the static in place of the copy it loaded from its template.
    void ShowIn(HWND staticControl) const;

    // WM_CTLCOLORSTATIC from that static: its painting takes the picture's palette.
    void SelectInto(HDC paint) const;

    // WM_QUERYNEWPALETTE and WM_PALETTECHANGED of the window that holds the static: realises
    // the palette and has the static repaint when the display's colours moved. True when any
    // did.
    bool Realize(HWND staticControl) const;

private:
    GdiObject<HBITMAP> m_bitmap;
    GdiObject<HPALETTE> m_palette;
};

// A font for words drawn on a picture, which keeps its pixels at every screen resolution: `face`
// at `pixels` to the em if its characters are at most `lineHeight` pixels high, else
// `fallback` at `fallbackPixels` (a bitmap face such as MS Sans Serif has no small sizes at
// large fonts).
GdiObject<HFONT> PixelFont(int pixels, int lineHeight, const char* face, const char* fallback,
                           int fallbackPixels);

// A memory DC holding a bitmap, to draw on it (the words a picture gets at run time), until
// the end of the scope.
class CBitmapCanvas {
public:
    explicit CBitmapCanvas(HBITMAP bitmap);
    ~CBitmapCanvas();
    CBitmapCanvas(const CBitmapCanvas&) = delete;
    CBitmapCanvas& operator=(const CBitmapCanvas&) = delete;

    HDC Dc() const { return m_old != nullptr ? m_dc : nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};
