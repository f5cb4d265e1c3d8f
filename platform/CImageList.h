#pragma once

#include "CSize.h"
#include "WinTypes.h"

#include <QPixmap>

#include <vector>

class CDC;

constexpr UINT ILD_NORMAL = 0x0000;

struct IMAGEINFO
{
    RECT rcImage;
};

// A list of equally sized images addressed by index. An image's rectangle is
// its place in the strip the images would form side by side.
class CImageList
{
public:
    BOOL Create(int cx, int cy);
    // Scales to the list's size; returns the index or -1.
    int Add(const QPixmap& image);
    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    CSize GetImageSize() const { return m_size; }
    BOOL GetImageInfo(int image, IMAGEINFO* info) const;
    BOOL Draw(CDC* dc, int image, POINT pt, UINT style) const;

private:
    CSize m_size;
    std::vector<QPixmap> m_images;
};
