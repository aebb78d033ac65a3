#pragma once

#include "core/model/Layout.h"
#include "core/session/WindowLayout.h"

#include <QPoint>
#include <QRect>

// The window's sizes and places are designed in twips; on screen they are
// logical pixels at 15 twips each, which the toolkit scales for the display.
constexpr int TwipsToPixels(int twips)
{
    return (twips + tessaldo::kTwipsPerPixel / 2) / tessaldo::kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

constexpr QRect TwipsRect(const tessaldo::TwipsBox &box)
{
    return TwipsRect(box.left, box.top, box.width, box.height);
}
