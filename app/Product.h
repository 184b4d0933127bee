#pragma once
// Fixed names of the product and its maker.

#include <string_view>

namespace velmora {

inline constexpr std::string_view kProductName = "Velmora Suite";
inline constexpr std::string_view kSupportEmail = "support@quillfern.com";
inline constexpr std::string_view kContactPage = "https://www.quillfern.com/contact";
// Prefix of every error report's location; the date is the build the report format dates from.
inline constexpr std::string_view kReportOrigin = "Velmora2021/08/31.";

}  // namespace velmora
