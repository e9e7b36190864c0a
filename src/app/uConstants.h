#pragma once

// The maker's particulars shown by the About box, the status bar and the help menu.
namespace Maker {

inline constexpr const char *Name = "家和软件工作室";
inline constexpr const char *WebSite = "http://www.jiahe-soft.example";
inline constexpr const char *SupportEmail = "support@jiahe-soft.example";
inline constexpr const char *ProductName = "Brimwell2003";
inline constexpr const char *Version = "3.0";

}  // namespace Maker
