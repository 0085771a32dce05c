#pragma once
// The map: the terrain colour map shrunk to 512 x 512 and repeated, with a marker per item.
// Qt-free: it paints onto a Canvas; CMapWnd shows it in a window.
#include "image/Canvas.h"
#include "image/PackedImage.h"
#include "mission/MissionModel.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvik {

enum class ItemCategory { None, People, Decorations, Vehicles, Buildings, Objects, Markers };

// By open ranges of the kind id, tested in the order People, Decorations, Vehicles, Buildings,
// Objects, Markers.
ItemCategory CategoryOf(std::int32_t id);

struct WorldPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class MapView : public ITerrainView {
public:
    static constexpr int kSize = 512;
    static constexpr double kPixelsPerUnit = 7.62939453125e-6;  // 2^-17
    static constexpr Rgb kLabelColour{255, 0, 255};

    MapView();

    bool m_bShowBuildings = true;
    bool m_bShowObjects = true;
    bool m_bShowPeople = true;
    bool m_bShowMarkers = true;
    bool m_bShowVehicles = true;
    bool m_bShowDecorations = true;
    bool m_bShowIds = false;

    void SetModel(const CMissionModel* model) { m_pModel = model; }
    const CMissionModel* Model() const { return m_pModel; }
    // Makes world (x, y) the centre and marks the view centred; does not repaint.
    void SetCenter(std::int32_t x, std::int32_t y);
    void CenterOnItems();
    // Decoding a colour map, its shrunk copy included, may take at most this much memory; a
    // larger map is refused (black terrain) and OversizedMap gives its size.
    static constexpr std::uint64_t kMaxDecodeBytes = std::uint64_t{256} << 20;

    // Decode, shrink to 512 x 512, delete the file, draw into the terrain frame, forget the centre.
    void LoadMap(std::string path) override;
    std::optional<MapSize> OversizedMap() const override { return m_oversized; }

    // The whole 512 x 512 frame: terrain in up to four copies, then marker and label per item.
    // Draws nothing without a model; centres on the items first when no centre is set.
    void Paint(Canvas& canvas);
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

private:
    bool m_bCentered = false;
    std::optional<PackedImage> m_hImage;
    std::optional<MapSize> m_oversized;
    // Before any centre was set the view shows world (0, 0) in the middle.
    std::int32_t m_nCenterX = 256;
    std::int32_t m_nCenterY = 256;
    Canvas m_terrain{kSize, kSize};
    const CMissionModel* m_pModel = nullptr;
};

} // namespace orvik
