#include "editor/editor_state.h"
#include "editor/graph_window.h"
#include "shell/settings.h"

#include <algorithm>
#include <cstring>

GraphDrawingResources graphResources;

void AcquireGraphResources() {
    if (graphResources.liveWindows++ > 0)
        return;
    for (std::size_t i = 0; i < graphCurves.size(); ++i) {
        const GraphCurve& curve = graphCurves[i];
        const COLORREF colour = RGB(curve.red, curve.green, curve.blue);
        graphResources.pens[i] = CreatePen(PS_SOLID, 0, colour);
        graphResources.brushes[i] = CreateSolidBrush(colour);
    }
}

void ReleaseGraphResources() {
    if (graphResources.liveWindows <= 0 || --graphResources.liveWindows > 0)
        return;
    for (std::size_t i = 0; i < graphCurves.size(); ++i) {
        DeleteObject(graphResources.pens[i]);
        DeleteObject(graphResources.brushes[i]);
        graphResources.pens[i] = nullptr;
        graphResources.brushes[i] = nullptr;
    }
}

namespace {

std::size_t CurveIndex(const GraphCurve& curve) {
    return static_cast<std::size_t>(&curve - graphCurves.data());
}

// Selecting a missing pen or brush would fail; drawing then goes on with what is selected.
void Select(HDC dc, HGDIOBJ object) {
    if (object)
        SelectObject(dc, object);
}

void Text(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

int RowTop(int row, int height) {
    return row * height / legendRows;
}

Envelope EnvelopeOf(const GraphCurve& curve) {
    return ReadEnvelope(editor.program.oscillator[curve.oscillator], curve.kind);
}

// The legend: headings, a coloured row for every shown curve, every label, the separating line
// and the frame around the selected curve's row. Works out the extents on the way, from every
// curve of the active oscillators, shown or not.
void PaintLegend(HDC dc, const GraphFrame& frame) {
    const int h = frame.height;
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    Rectangle(dc, 0, 0, legendWidth, h + 1);

    graph.mainExtent = 0;
    graph.releaseExtent = 0;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    Text(dc, legendWidth / 2, h / 8 - 2, "Osc. 1");
    Text(dc, legendWidth / 2, 5 * h / 8 - 2, "Osc. 2");

    SetTextColor(dc, RGB(255, 255, 255));
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    for (int number : legendPaintOrder) {
        const GraphCurve& curve = *CurveNumbered(number);
        const int row = curve.legendRow;
        Select(dc, graphResources.brushes[CurveIndex(curve)]);
        if (CurveShown(curve, settings))
            Rectangle(dc, 0, RowTop(row, h), legendWidth, RowTop(row + 1, h) + 1);
        if (CurveActive(curve, editor.program.oscMode)) {
            const Envelope envelope = EnvelopeOf(curve);
            graph.mainExtent =
                std::max(graph.mainExtent, MainExtentCandidate(curve.kind, envelope));
            graph.releaseExtent = std::max(graph.releaseExtent, ReleaseExtentCandidate(envelope));
        }
        Text(dc, legendWidth / 2, RowTop(row, h) + 1, curve.label);
    }

    SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, legendWidth - 1, 0, nullptr);
    LineTo(dc, legendWidth - 1, h + 1);

    // With no curve selected the frame lies above the window.
    const int c = graph.selectedCurve;
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(WHITE_PEN));
    Rectangle(dc, 3, RowTop(c - 1, h) + 2, legendWidth - 3, RowTop(c, h) - 2);
}

// The start of the release area and the zero line of the signed curves.
void PaintGuides(HDC dc, const GraphFrame& frame) {
    HPEN grey = CreatePen(PS_SOLID, 0, RGB(200, 200, 200));
    Select(dc, grey);
    const int releaseStart = legendWidth + MainAreaWidth(frame);
    MoveToEx(dc, releaseStart, 0, nullptr);
    LineTo(dc, releaseStart, frame.height + 1);
    const int zero = SignedLevelY(0, PlotHeight(frame));
    MoveToEx(dc, legendWidth, zero, nullptr);
    LineTo(dc, frame.width + 1, zero);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    if (grey)
        DeleteObject(grey);
}

// The bar is touched only where it changes: every range, enable or position call redraws it,
// and a paint that redraws both bars twice over costs more than the curves.
void SetUpScrollBar(HWND bar, int extent, int width, int& offset) {
    const ScrollSetup setup = SetUpScroll(extent, width, offset);
    // A bar keeps an empty range (maximum below 0) as 0..0.
    int lo = 0;
    int hi = 0;
    const bool same = GetScrollRange(bar, SB_CTL, &lo, &hi) && lo == 0 &&
                      (hi == setup.rangeMax || (setup.rangeMax < 0 && hi <= 0));
    if (!same)
        SetScrollRange(bar, SB_CTL, 0, setup.rangeMax, TRUE);
    if ((IsWindowEnabled(bar) != FALSE) != setup.enabled)
        EnableWindow(bar, setup.enabled);
    if (setup.setPosition)
        SetScrollPos(bar, SB_CTL, setup.rangeMax, TRUE);
    offset = setup.offset;
}

// A polyline clipped to its area; the handles whose centre is visible there are recorded and
// framed.
void PaintPolyline(HDC dc, HRGN clip, const CurvePolyline& line, bool withHandles) {
    SelectClipRgn(dc, clip);
    POINT points[5];
    for (int i = 0; i < line.count; ++i)
        points[i] = {line.points[static_cast<std::size_t>(i)].x,
                     line.points[static_cast<std::size_t>(i)].y};
    Polyline(dc, points, line.count);
    if (!withHandles)
        return;
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < line.count; ++i) {
        const CurvePoint& p = line.points[static_cast<std::size_t>(i)];
        if (p.handle == noHandle || !PtVisible(dc, p.x, p.y))
            continue;
        graph.handles[static_cast<std::size_t>(p.handle)] = {p.x, p.y};
        const RECT square = HandleSquare({p.x, p.y});
        Rectangle(dc, square.left, square.top, square.right, square.bottom);
    }
    SelectObject(dc, pen);
    SelectObject(dc, brush);
}

void PaintCurves(HDC dc, const GraphFrame& frame, HRGN mainClip, HRGN releaseClip) {
    for (int oscillator = 0; oscillator < 2; ++oscillator) {
        if (oscillator == 1 && !DoubleMode(editor.program.oscMode))
            break;
        for (int number : oscillatorCurveDrawOrder) {
            const GraphCurve& curve = *CurveNumbered(number + 4 * oscillator);
            if (!CurveShown(curve, settings))
                continue;
            const CurveShape shape = ShapeOfCurve(curve.kind, EnvelopeOf(curve), frame);
            const bool selected = curve.number == graph.selectedCurve;
            Select(dc, graphResources.pens[CurveIndex(curve)]);
            PaintPolyline(dc, mainClip, shape.main, selected);
            PaintPolyline(dc, releaseClip, shape.release, selected);
        }
    }
}

} // namespace

void PaintGraph(HWND window) {
    for (GraphPoint& handle : graph.handles)
        handle = {-1, -1};
    graph.selectedCurve = CheckedSelection(graph.selectedCurve, settings, editor.program.oscMode);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    GraphFrame frame = CurrentGraphFrame(window);
    PaintLegend(dc, frame);
    PaintGuides(dc, frame);

    const int main = MainAreaWidth(frame);
    HRGN mainClip = CreateRectRgn(legendWidth, 0, legendWidth + main, frame.height);
    HRGN releaseClip = CreateRectRgn(legendWidth + main, 0, frame.width, frame.height);

    graph.mainExtent += 50;
    graph.releaseExtent += 50;
    SetUpScrollBar(GetDlgItem(window, mainScrollBarId), graph.mainExtent, main, graph.mainOffset);
    SetUpScrollBar(GetDlgItem(window, releaseScrollBarId), graph.releaseExtent,
                   ReleaseBarWidth(frame), graph.releaseOffset);

    frame = CurrentGraphFrame(window);
    PaintCurves(dc, frame, mainClip, releaseClip);

    SelectClipRgn(dc, nullptr);
    DeleteObject(mainClip);
    DeleteObject(releaseClip);
    EndPaint(window, &paint);
}
