#include "gui/RowColour.h"

#include "engine/text/TextCut.h"

std::uint32_t RowTextColour(const QString& name, const QString& above, const QString& sources) {
    if (cut::leadingInt(sources) > 4) return kManySourcesColour;
    if (name == above) return kRepeatedNameColour;
    return kPlainRowColour;
}
