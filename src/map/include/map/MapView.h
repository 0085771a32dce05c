#pragma once
// The map: the terrain colour map shrunk to 512 x 512 and repeated, with a marker per item.
// Qt-free: it paints onto a Canvas; CMapWnd shows it in a window.
#include "image/Canvas.h"
#include "image/PackedImage.h"
#include "map/MarkerIndex.h"
#include "mission/MissionModel.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvik {

enum class ItemCategory { None, People, Decorations, Vehicles, Buildings, Objects, Markers };

// By open ranges of the kind id, tested in the order People, Decorations, Vehicles, Buildings,
// Objects, Markers.
ItemCategory CategoryOf(std::int32_t id);

struct WorldPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const WorldPoint&) const = default;
};

// A coordinate cell's number: optional blanks, an optional sign and decimal digits that fit in 32
// bits; anything else is not a position.
std::optional<std::int32_t> ParseCoordinate(std::string_view text);

class MapView : public TerrainView {
public:
    static constexpr int kSize = 512;
    static constexpr double kPixelsPerUnit = 7.62939453125e-6; // 2^-17
    static constexpr Rgb kLabelColour{255, 0, 255};

    MapView();

    bool m_bShowBuildings = true;
    bool m_bShowObjects = true;
    bool m_bShowPeople = true;
    bool m_bShowMarkers = true;
    bool m_bShowVehicles = true;
    bool m_bShowDecorations = true;
    bool m_bShowIds = false;
    // Moved items also show where they stood at the last save: a faint box there and a thin line
    // to where they are now, under every marker.
    bool m_bShowChanges = false;
    static constexpr Rgb kGhostColour{200, 200, 200};

    // Also takes the items' positions as the markers' positions and clears the selection.
    void SetModel(const CMissionModel* model);
    // Lets go of the model and hands over the markers' storage, whose owner frees it: a large
    // mission's index can go on another thread, off the user's path.
    std::shared_ptr<void> DetachModel();
    const CMissionModel* Model() const { return m_pModel; }
    // Makes world (x, y) the centre and marks the view centred; does not repaint.
    void SetCenter(std::int32_t x, std::int32_t y);
    void CenterOnItems();
    // Decoding a colour map, its shrunk copy included, may take at most this much memory; a
    // larger map is refused (black terrain) and RefusedMap gives its size.
    static constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{256} << 20;

    // Decode, shrink to 512 x 512, delete the file, draw into the terrain frame, forget the centre.
    void LoadMap(std::string path) override;
    // The last few decoded colour maps are kept by source: missions on one terrain decode it once.
    void LoadMap(std::string path, const MapSource& source) override;
    bool ShowKeptMap(const MapSource& source) override;
    std::optional<MapRefusal> RefusedMap() const override { return m_refusal; }

    // The whole 512 x 512 frame: terrain in up to four copies, then marker and label per item.
    // Draws nothing without a model; centres on the items first when no centre is set. Painting
    // the same canvas again with the same settings draws only the parts that moved, selected or
    // dragged items changed since (see PendingArea).
    void Paint(Canvas& canvas);
    // The part of the frame that the next Paint of the last canvas draws again: none when it draws
    // everything, empty when it draws nothing new.
    std::optional<PixelRect> PendingArea() const;
    // The next Paint draws everything afresh, with nothing kept from paints before (the canvas was
    // drawn on by someone else).
    void Invalidate()
    {
        m_allDirty = true;
        m_index.ForgetTops();
    }
    void PaintMarker(Canvas& canvas, ItemCategory category, int x, int y) const;
    bool IsShown(ItemCategory category) const;

    // Mouse: the world point under frame pixel (x, y), clamped to 32 bits; the readout text
    // "x: %ld   y: %ld"; a click re-centres on that point.
    WorldPoint WorldAt(int x, int y) const;
    std::string ReadoutText(int x, int y) const;
    void Click(int x, int y);

    bool IsCentered() const { return m_bCentered; }
    std::int32_t CenterX() const { return m_nCenterX; }
    std::int32_t CenterY() const { return m_nCenterY; }
    const std::optional<PackedImage>& Image() const { return m_hImage; }
    const Canvas& Terrain() const { return m_terrain; }

    // World units to map pixels: multiply by 2^-17, truncate toward zero.
    static std::int32_t ToPixels(std::int32_t world);

    // Where each item's marker stands: the model's positions at SetModel, then whatever the
    // document says (an edited cell, an undo, a drag); the model itself is left alone.
    void SyncPositions();
    // The markers' kinds are taken from the model at SetModel; after a save or a refresh that gave
    // items other kind ids, this takes them again.
    void SyncKinds();
    WorldPoint PositionOf(std::size_t item) const;
    void SetPosition(std::size_t item, WorldPoint p);

    // Only these items are drawn (rows[i] for item i; one past the end is not drawn), and only they
    // are hit or banded; ShowAllRows draws every item again. Both draw the next frame afresh.
    void ShowOnlyRows(std::vector<bool> rows);
    void ShowAllRows();
    bool ShowsOnlyRows() const { return m_onlyRows.has_value(); }
    bool IsRowShown(std::size_t item) const
    {
        return !m_onlyRows || (item < m_onlyRows->size() && (*m_onlyRows)[item]);
    }
    // Where an item stood at the last save, when it has moved since; none for one that has not.
    // Kept until the next SetModel or SyncPositions.
    void SetSavedPosition(std::size_t item, std::optional<WorldPoint> saved);
    void ClearSavedPositions();
    std::optional<WorldPoint> SavedPositionOf(std::size_t item) const;
    std::size_t SavedPositionCount() const { return m_savedPositions.size(); }

    // Selected items get a ring; items outside the model are ignored.
    void SetSelection(const std::vector<std::size_t>& items);
    bool IsSelected(std::size_t item) const;
    std::vector<std::size_t> Selection() const;

    // The drawn item whose marker centre is within 3 pixels of frame point (x, y); of several,
    // the one drawn last.
    std::optional<std::size_t> ItemAt(int x, int y) const;

    // The drawn items whose marker centre lies in the frame rectangle from (x0, y0) to (x1, y1),
    // edges included, corners in any order; ascending.
    std::vector<std::size_t> ItemsIn(int x0, int y0, int x1, int y1) const;

    // While a drag is under way its items are drawn moved by (dx, dy) pixels.
    void SetDrag(std::vector<std::size_t> items, int dx, int dy);
    void ClearDrag();
    bool IsDragging() const { return !m_dragItems.empty(); }
    // The world positions the dragged items take on release, clamped to 32 bits.
    std::vector<std::pair<std::size_t, WorldPoint>> DropPositions() const;

    // Moves the centre so that the ground follows the mouse by (dx, dy) pixels.
    void PanBy(int dx, int dy);

    // 1, 2, 4 or 8 screen pixels per map pixel; the point under frame (x, y) stays put.
    static constexpr int kMaxZoom = 8;
    int Zoom() const { return m_nZoom; }
    bool SetZoom(int zoom, int x, int y);
    static bool IsValidZoom(int zoom) { return zoom == 1 || zoom == 2 || zoom == 4 || zoom == 8; }

    // The square frame's side: 512 by default; a larger frame shows more ground around the same
    // centre, which stays at pixel (side / 2, side / 2).
    int FrameSize() const { return m_nSize; }
    void SetFrameSize(int size);

private:
    // Frame position of an item's marker at the current zoom and centre, in 64 bits.
    std::pair<std::int64_t, std::int64_t> FramePosition(std::size_t item) const;
    std::int64_t ZoomedPixels(std::int32_t world) const;
    WorldPoint WorldAtExact(double x, double y) const;
    // Zoomed or larger frames: each frame pixel from the repeating source, nearest neighbour.
    void PaintTiledTerrain(Canvas& canvas, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                           std::size_t stride, const PixelRect& area) const;
    // Frame pixel of the zoomed centre pixel, less 256 (the centre units' offset): 256 at 512.
    int Origin() const { return m_nSize / 2 + kSize / 2; }
    void PaintRing(Canvas& canvas, int x, int y) const;
    // The saved places of moved items, and their lines, that reach area.
    void PaintGhosts(Canvas& canvas, const PixelRect& area) const;
    // Frame position of a world point at the current zoom and centre.
    std::pair<std::int64_t, std::int64_t> FramePoint(WorldPoint p) const;
    // What an item's ghost and line cover; empty when it has none or none is drawn.
    PixelRect GhostBox(std::size_t item) const;
    // Remembers that box must be drawn again.
    void AddDirty(const PixelRect& box);
    bool IsDrawn(std::size_t item, std::int64_t wx, std::int64_t wy) const;
    // Marker and label of one item, when it is drawn.
    void PaintItem(Canvas& canvas, std::size_t item) const;
    void PaintAll(Canvas& canvas);
    // Terrain, items and rings inside area only, in the order of a whole paint.
    void PaintArea(Canvas& canvas, const PixelRect& area);

    // What the index's kept tops depend on, as this view draws: zoomed pixel, kind, dragged.
    MarkerIndex::Look LookOf() const;
    // The items whose marker centre may lie in the frame rectangle, dragged ones included; in
    // drawing order.
    std::vector<std::size_t> ItemsIn(const PixelRect& frameArea) const;
    // The same, less the markers that a later one of the same kind at the same pixel covers whole
    // (without labels; with them every item is drawn).
    std::vector<std::size_t> VisibleIn(const PixelRect& frameArea) const;
    // Candidates from the cells that may reach the area (all items, or each cell's tops), dragged
    // ones added, then filtered to the area and put in drawing order.
    std::vector<std::size_t> CandidatesIn(const PixelRect& frameArea, bool topsOnly) const;
    // The item's cell keeps its tops afresh (it is dragged or let go).
    void InvalidateTops(std::size_t item);
    // The frame pixels an item's marker, label and (when selected) ring may cover.
    PixelRect ItemBox(std::size_t item) const;
    // Around a marker's centre: what its marker and label may cover.
    PixelRect Reach() const;
    // Remembers that the item's box must be drawn again.
    void MarkDirty(std::size_t item);

    // What the last whole paint drew with: another canvas or other settings draw everything.
    struct PaintState {
        const std::uint8_t* canvas = nullptr;
        int width = 0, height = 0;
        std::int32_t centerX = 0, centerY = 0;
        int zoom = 0, size = 0;
        unsigned flags = 0;
        const CMissionModel* model = nullptr;
        bool operator==(const PaintState&) const = default;
    };
    PaintState StateFor(const Canvas& canvas) const;

    int m_nZoom = 1;
    int m_nSize = kSize;
    std::vector<WorldPoint> m_positions;
    std::vector<ItemCategory> m_categories; // by item, so a paint need not visit the records
    std::vector<bool> m_selected;
    std::optional<std::vector<bool>> m_onlyRows;
    std::vector<std::size_t> m_selectedItems; // the same, in order
    // Items by cell, with each cell's top markers kept.
    MarkerIndex m_index;
    std::optional<PaintState> m_painted;
    bool m_allDirty = true;
    std::vector<PixelRect> m_dirty;
    std::unordered_map<std::size_t, WorldPoint> m_savedPositions;
    std::vector<std::size_t> m_dragItems;
    std::vector<bool> m_dragged; // by item, for the paint's quick test
    int m_dragDx = 0;
    int m_dragDy = 0;
    // The decoded colour map at its own size, for zoomed terrain.
    std::shared_ptr<const PackedImage> m_fullImage;
    struct KeptMap {
        MapSource source;
        std::shared_ptr<const PackedImage> full;
        std::optional<PackedImage> shrunk;
        std::optional<MapRefusal> refusal;
    };
    static constexpr std::size_t kKeptMaps = 3;
    std::deque<KeptMap> m_kept; // the most recent first
    // Shows the shrunk map as terrain (black without one).
    void DrawTerrain();

    bool m_bCentered = false;
    std::optional<PackedImage> m_hImage;
    std::optional<MapRefusal> m_refusal;
    // Before any centre was set the view shows world (0, 0) in the middle.
    std::int32_t m_nCenterX = 256;
    std::int32_t m_nCenterY = 256;
    Canvas m_terrain{kSize, kSize};
    const CMissionModel* m_pModel = nullptr;
};

} // namespace orvik
