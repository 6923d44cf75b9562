// The maker's addresses, shared by the help menu and the about box. The ".example" names are
// placeholders that resolve nowhere until the program has a home on the web.
#pragma once

inline constexpr const wchar_t* kMakerName = L"Vexmora 视频软件工作室";
inline constexpr const wchar_t* kMakerWebSite = L"https://www.vexmora.example/";
inline constexpr const wchar_t* kMakerQuestionPage = L"https://www.vexmora.example/faq/";
inline constexpr const wchar_t* kMakerSupportMailAddress = L"support@vexmora.example";
inline constexpr const wchar_t* kMakerSupportMail = L"mailto:support@vexmora.example";
