#pragma once

#include "platform/WinTypes.h"

// Cell state bits.
constexpr UINT GRIDIS_FOCUSED = 0x0001;
constexpr UINT GRIDIS_SELECTED = 0x0002;
constexpr UINT GRIDIS_DROPHILITED = 0x0004;
constexpr UINT GRIDIS_READONLY = 0x0008;
constexpr UINT GRIDIS_FIXED = 0x0010;
constexpr UINT GRIDIS_FIXEDROW = 0x0020;
constexpr UINT GRIDIS_FIXEDCOL = 0x0040;
constexpr UINT GRIDIS_MODIFIED = 0x0080;

// Item mask bits: which fields of a GridItem are meant.
constexpr UINT GRIDIF_TEXT = 0x001;
constexpr UINT GRIDIF_IMAGE = 0x002;
constexpr UINT GRIDIF_PARAM = 0x004;
constexpr UINT GRIDIF_STATE = 0x008;
constexpr UINT GRIDIF_BKCLR = 0x010;
constexpr UINT GRIDIF_FGCLR = 0x020;
constexpr UINT GRIDIF_FORMAT = 0x040;
constexpr UINT GRIDIF_FONT = 0x080;
constexpr UINT GRIDIF_MARGIN = 0x100;
constexpr UINT GRIDIF_ALL = GRIDIF_TEXT | GRIDIF_IMAGE | GRIDIF_PARAM | GRIDIF_STATE | GRIDIF_BKCLR | GRIDIF_FGCLR |
                            GRIDIF_FORMAT | GRIDIF_FONT | GRIDIF_MARGIN;

// GetNextItem search flags.
constexpr UINT GRIDNI_FOCUSED = 0x0001;
constexpr UINT GRIDNI_SELECTED = 0x0002;
constexpr UINT GRIDNI_DROPHILITED = 0x0004;
constexpr UINT GRIDNI_READONLY = 0x0008;
constexpr UINT GRIDNI_FIXED = 0x0010;
constexpr UINT GRIDNI_MODIFIED = 0x0020;
constexpr UINT GRIDNI_ABOVE = 0x0100;
constexpr UINT GRIDNI_BELOW = 0x0200;
constexpr UINT GRIDNI_TOLEFT = 0x0400;
constexpr UINT GRIDNI_TORIGHT = 0x0800;
constexpr UINT GRIDNI_ALL = GRIDNI_BELOW | GRIDNI_TOLEFT | GRIDNI_TORIGHT;

// Notification codes.
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int NM_RCLICK = -5;
constexpr int GRIDN_SELCHANGING = -100;
constexpr int GRIDN_SELCHANGED = -101;
constexpr int GRIDN_STARTDRAG = -109;
constexpr int GRIDN_CACHEHINT = -113;
constexpr int GRIDN_BEGINEDIT = -175;
constexpr int GRIDN_ENDEDIT = -176;
constexpr int GRIDN_GETDISPINFO = -177;
// A receiver's reply to GRIDN_ENDEDIT that keeps the in-place editor open
// (it has taken the editor over); any other reply lets the editor close.
constexpr LRESULT GRIDN_ENDEDIT_KEEPOPEN = 2;

// Grid-lines modes.
constexpr int GVL_NONE = 0;
constexpr int GVL_HORZ = 1;
constexpr int GVL_VERT = 2;
constexpr int GVL_BOTH = 3;

// Auto-size styles.
constexpr UINT GVS_HEADER = 1;
constexpr UINT GVS_DATA = 2;
constexpr UINT GVS_BOTH = 3;

// Scroll-bar request codes and bars.
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_ENDSCROLL = 8;
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;

// What a window asks of the keyboard when it has the focus.
constexpr UINT DLGC_WANTARROWS = 0x0001;
constexpr UINT DLGC_WANTTAB = 0x0002;
constexpr UINT DLGC_WANTCHARS = 0x0080;
