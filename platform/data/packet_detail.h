// What the packet readers share, inside the data folder only: the checks
// of field definitions and of the change log, as Parse and FromJson make
// them, and the one-pass readers. Each StreamX answers nullopt for any
// text but the usual shape, for the caller to read it the ordinary way.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "data/data_packet.h"
#include "data/text_parts.h"

namespace fw::packet_detail {

// Raise EDatabaseError naming what is wrong, as FromJson does.
TFieldDefs ReadFieldDefs(const nlohmann::json& fields);
void ReadChanges(const nlohmann::json& changes, TDataPacket& packet);

// A packet text; an object in which `path` leads to a packet (its other
// members, plain values, into `others`, one object per level).
std::optional<TDataPacket> StreamPacket(std::string_view text);
std::optional<TDataPacket> StreamMember(std::string_view text, const std::vector<std::string_view>& path,
                                        std::vector<nlohmann::json>& others);
std::optional<TDataPacket> StreamMember(TTextParts& text, const std::vector<std::string_view>& path,
                                        std::vector<nlohmann::json>& others);

}  // namespace fw::packet_detail
