#include "FrameControl.h"

#include "CBrush.h"
#include "CDC.h"
#include "CPen.h"
#include "CRect.h"
#include "SysColors.h"

#include <algorithm>

namespace {

void DrawCheckBox(CDC* dc, CRect box, bool checked)
{
    dc->DrawEdge(&box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    dc->FillSolidRect(box, GetSysColor(COLOR_WINDOW));
    if (!checked || box.Width() < 5 || box.Height() < 5)
        return;
    // A tick three pixels thick, scaled to the box.
    const CPen pen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    const CPen* old = dc->SelectObject(&pen);
    const int w = box.Width();
    const int h = box.Height();
    for (int t = 0; t < 3; ++t) {
        const int y = box.top + h / 2 - 1 + t;
        dc->MoveTo(box.left + w / 5, y);
        dc->LineTo(box.left + w * 2 / 5, y + h / 5);
        dc->LineTo(box.left + w * 4 / 5 + 1, y - h * 2 / 5 + h / 5);
    }
    dc->SelectObject(old);
}

void DrawDownArrow(CDC* dc, const CRect& face)
{
    const int size = std::max(1, std::min(face.Width(), face.Height()) / 3);
    const int cx = (face.left + face.right) / 2;
    const int top = (face.top + face.bottom - size) / 2;
    const CPen pen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    const CPen* old = dc->SelectObject(&pen);
    for (int i = 0; i < size; ++i) {
        dc->MoveTo(cx - (size - i) + 1, top + i);
        dc->LineTo(cx + (size - i), top + i);
    }
    dc->SelectObject(old);
}

} // namespace

BOOL DrawFrameControl(CDC* dc, const RECT* rect, UINT type, UINT state)
{
    if (!dc || !rect)
        return FALSE;
    CRect face(*rect);
    if (type == DFC_BUTTON && (state & DFCS_BUTTONPUSH)) {
        dc->DrawEdge(&face, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        dc->FillSolidRect(face, GetSysColor(COLOR_BTNFACE));
        return TRUE;
    }
    if (type == DFC_BUTTON) {
        DrawCheckBox(dc, face, (state & DFCS_CHECKED) != 0);
        return TRUE;
    }
    if (type == DFC_SCROLL && (state & 0xFF) == DFCS_SCROLLDOWN) {
        dc->DrawEdge(&face, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
        dc->FillSolidRect(face, GetSysColor(COLOR_BTNFACE));
        DrawDownArrow(dc, face);
        return TRUE;
    }
    return FALSE;
}
