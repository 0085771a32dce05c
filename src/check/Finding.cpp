#include "check/Finding.h"

namespace orvik {

const char* SeverityName(Severity severity) { return severity == Severity::Error ? "error" : "warning"; }

const char* FindingKindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::DamagedArchive: return "damagedArchive";
    case FindingKind::DamagedEntry: return "damagedEntry";
    case FindingKind::NoEndMark: return "noEndMark";
    case FindingKind::UnknownKind: return "unknownKind";
    case FindingKind::SharedName: return "sharedName";
    case FindingKind::OutsideGround: return "outsideGround";
    case FindingKind::Stacked: return "stacked";
    case FindingKind::NoCenter: return "noCenter";
    case FindingKind::BadAngle: return "badAngle";
    }
    return "unknown";
}

Severity SeverityOf(FindingKind kind)
{
    switch (kind) {
    case FindingKind::DamagedArchive:
    case FindingKind::DamagedEntry:
    case FindingKind::NoEndMark:
    case FindingKind::UnknownKind: return Severity::Error;
    default: return Severity::Warning;
    }
}

} // namespace orvik
