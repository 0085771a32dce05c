#pragma once
// The ids of the dialog's controls. Each control's objectName is its id as decimal text, so the
// tests, the benchmarks and the screenshot run find a control by the same name the dialog gave it.
#include <QString>

#include <array>

namespace orvik {

inline constexpr int kIdMission = 1006;         // the mission list (combo box)
inline constexpr int kIdItemTable = 1007;       // the item table
inline constexpr int kIdSave = 1008;            // "Save"
inline constexpr int kIdGetMissionFiles = 1009; // "Get Mission Files"
inline constexpr int kIdRefreshMap = 1010;      // "Refresh Map"
inline constexpr int kIdPeople = 1011;          // the "Show" switches, in the group's order
inline constexpr int kIdBuildings = 1012;
inline constexpr int kIdDecorations = 1013;
inline constexpr int kIdVehicles = 1014;
inline constexpr int kIdMarkers = 1015;
inline constexpr int kIdObjects = 1016;
inline constexpr int kIdCoord = 1017; // the map coordinates read-out
inline constexpr int kIdIds = 1018;   // the "IDs" switch: item-number labels on the map
inline constexpr int kIdMap = 65535;  // the map view
inline constexpr int kIdStatic = -1;  // controls nothing looks up (the "Show" group)

// Every control that is looked up by its id.
inline constexpr std::array kControlIds = {
    kIdMission,     kIdItemTable, kIdSave,    kIdGetMissionFiles, kIdRefreshMap, kIdPeople, kIdBuildings,
    kIdDecorations, kIdVehicles,  kIdMarkers, kIdObjects,         kIdCoord,      kIdIds,    kIdMap};

// The objectName of the control with this id.
inline QString ControlName(int id) { return QString::number(id); }

} // namespace orvik
