// Where a press on a window that draws its own frame lands: resize zones,
// client area, and the caption that easy drag makes of the client area.

#include <gtest/gtest.h>

#include "gui/win/FrameZones.h"

namespace {

using s::gui::win::FrameZones;
using Zone = FrameZones::Zone;
using s::os::gui::Cursor;

struct Hit {
  int x, y;
  Zone zone;
};

void expectZones(int w, int h, int scale, std::initializer_list<Hit> hits) {
  for (const Hit& hit : hits) {
    EXPECT_EQ(FrameZones::hitTest(w, h, hit.x, hit.y, scale), hit.zone)
        << "scale " << scale << " at " << hit.x << "," << hit.y;
  }
}

TEST(FrameZones, FiveByThirtyPixelZonesAtScaleOne) {
  // 300 x 200: borders are the outer 5 pixels, corners the 30 along each edge.
  expectZones(
      300, 200, 1,
      {
          {295, 100, Zone::kRight},   {294, 100, Zone::kClient},      {299, 29, Zone::kTopRight},
          {299, 30, Zone::kRight},    {299, 170, Zone::kBottomRight}, {299, 169, Zone::kRight},
          {100, 195, Zone::kBottom},  {100, 194, Zone::kClient},      {29, 199, Zone::kBottomLeft},
          {30, 199, Zone::kBottom},   {270, 199, Zone::kBottomRight}, {4, 100, Zone::kLeft},
          {5, 100, Zone::kClient},    {0, 29, Zone::kTopLeft},        {0, 170, Zone::kBottomLeft},
          {100, 4, Zone::kTop},       {100, 5, Zone::kClient},        {29, 0, Zone::kTopLeft},
          {270, 0, Zone::kTopRight},  {150, 100, Zone::kClient},      {-1, 100, Zone::kOutside},
          {300, 100, Zone::kOutside}, {150, 200, Zone::kOutside},
      });
}

TEST(FrameZones, TenBySixtyPixelZonesAtScaleTwo) {
  expectZones(600, 400, 2,
              {
                  {590, 200, Zone::kRight},
                  {589, 200, Zone::kClient},
                  {599, 59, Zone::kTopRight},
                  {599, 60, Zone::kRight},
                  {300, 390, Zone::kBottom},
                  {59, 399, Zone::kBottomLeft},
                  {9, 200, Zone::kLeft},
                  {10, 200, Zone::kClient},
                  {300, 9, Zone::kTop},
                  {540, 0, Zone::kTopRight},
              });
  EXPECT_EQ(FrameZones::borderAt(2), 10);
  EXPECT_EQ(FrameZones::cornerAt(2), 60);
}

TEST(FrameZones, EdgesAreTestedRightBottomLeftTop) {
  // Windows thinner than two borders, where one point lies within two
  // opposite borders: the edge tested first decides.
  expectZones(8, 200, 1, {{4, 100, Zone::kRight}});
  expectZones(300, 8, 1,
              {
                  {100, 4, Zone::kBottom},    // not top
                  {299, 4, Zone::kTopRight},  // right first, near the top
                  {0, 4, Zone::kBottomLeft},  // bottom before left
              });
}

TEST(FrameZones, EasyDragTurnsClientIntoCaptionUnlessTheRightButtonIsHeld) {
  struct Case {
    Zone zone;
    bool easyDrag, rightHeld;
    Zone result;
  };
  for (const Case& c : {Case{Zone::kClient, true, false, Zone::kCaption},
                        Case{Zone::kClient, true, true, Zone::kClient},
                        Case{Zone::kClient, false, false, Zone::kClient},
                        Case{Zone::kRight, true, false, Zone::kRight},
                        Case{Zone::kOutside, true, false, Zone::kOutside}}) {
    EXPECT_EQ(FrameZones::withEasyDrag(c.zone, c.easyDrag, c.rightHeld), c.result);
  }
}

TEST(FrameZones, ResizeZonesGiveTheirCursorAndEdge) {
  using s::os::gui::ResizeEdge;
  struct Case {
    Zone zone;
    Cursor cursor;
    ResizeEdge edge;
  };
  const Case cases[] = {
      {Zone::kLeft, Cursor::kSizeWE, ResizeEdge::kLeft},
      {Zone::kRight, Cursor::kSizeWE, ResizeEdge::kRight},
      {Zone::kTop, Cursor::kSizeNS, ResizeEdge::kTop},
      {Zone::kBottom, Cursor::kSizeNS, ResizeEdge::kBottom},
      {Zone::kTopLeft, Cursor::kSizeNWSE, ResizeEdge::kTopLeft},
      {Zone::kBottomRight, Cursor::kSizeNWSE, ResizeEdge::kBottomRight},
      {Zone::kTopRight, Cursor::kSizeNESW, ResizeEdge::kTopRight},
      {Zone::kBottomLeft, Cursor::kSizeNESW, ResizeEdge::kBottomLeft},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(FrameZones::isResizeZone(c.zone)) << static_cast<int>(c.zone);
    EXPECT_EQ(FrameZones::cursorFor(c.zone), c.cursor) << static_cast<int>(c.zone);
    EXPECT_EQ(FrameZones::edgeFor(c.zone), c.edge) << static_cast<int>(c.zone);
  }
  for (const Zone zone : {Zone::kClient, Zone::kCaption, Zone::kOutside}) {
    EXPECT_FALSE(FrameZones::isResizeZone(zone)) << static_cast<int>(zone);
    EXPECT_EQ(FrameZones::cursorFor(zone), Cursor::kArrow) << static_cast<int>(zone);
  }
}

}  // namespace
