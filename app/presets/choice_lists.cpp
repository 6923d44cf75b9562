// The 55 choice lists of the format panel's six parameter combos: frame size FS1-FS20,
// video bit rate VB1-VB12, audio bit rate AB1-AB6, aspect mode AM1-AM3, frame rate
// FR1-FR8, sample rate SR1-SR6. Texts repeat where the lists repeat them ("1920*1200"
// twice in FS1, FS4 and FS13); both entries are offered.
#include "app/presets/parameter_choices.h"

namespace {

constexpr const wchar_t* FS1Items[] = {
    L"保持原分辨率", L"128*96",    L"176*144",   L"240*176",   L"320*240",   L"352*240",   L"352*288",
    L"384*288",      L"480*480",   L"480*576",   L"640*368",   L"640*480",   L"704*480",   L"704*576",
    L"720*480",      L"720*576",   L"800*600",   L"852*480",   L"1024*768",  L"1280*720",  L"1280*1024",
    L"1600*1024",    L"1600*1200", L"1920*1080", L"1920*1200", L"1920*1200", L"2048*1536", L"2560*1600"};

constexpr const wchar_t* FS2Items[] = {L"112*96",  L"128*96",  L"160*112", L"160*120", L"176*144", L"192*144",
                                       L"208*176", L"220*176", L"320*208", L"320*224", L"320*240"};

constexpr const wchar_t* FS3Items[] = {L"该格式无视频"};

constexpr const wchar_t* FS4Items[] = {L"保持原分辨率", L"1024*768",  L"1280*720",  L"1280*1024",
                                       L"1600*1024",    L"1600*1200", L"1920*1080", L"1920*1200",
                                       L"1920*1200",    L"2048*1536", L"2560*1600"};

constexpr const wchar_t* FS5Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240",
                                       L"352*288", L"368*208", L"640*480"};

constexpr const wchar_t* FS6Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240", L"352*288", L"368*208",
                                       L"480*320", L"480*368", L"512*384", L"640*272", L"640*353", L"640*480"};

constexpr const wchar_t* FS7Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240", L"352*288",
                                       L"368*208", L"480*320", L"480*368", L"512*384", L"640*272",
                                       L"640*353", L"640*480", L"720*406"};

constexpr const wchar_t* FS8Items[] = {L"320*240", L"368*208", L"480*272", L"640*480", L"720*480"};

constexpr const wchar_t* FS9Items[] = {L"112*96",  L"128*96",  L"160*112", L"160*120", L"176*144",
                                       L"192*144", L"208*176", L"220*176", L"320*208", L"320*224",
                                       L"320*240", L"352*288", L"480*360"};

constexpr const wchar_t* FS10Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240",
                                        L"352*288", L"368*208", L"640*480", L"1280*720"};

constexpr const wchar_t* FS11Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240", L"352*288",
                                        L"368*208", L"480*272", L"640*480", L"704*576"};

constexpr const wchar_t* FS12Items[] = {L"1280*720", L"1440*1080", L"1920*1080"};

constexpr const wchar_t* FS13Items[] = {
    L"640*480",   L"704*576",   L"720*480",   L"720*576",   L"800*600",   L"852*480",   L"1024*768",  L"1280*720",
    L"1280*1024", L"1600*1024", L"1600*1200", L"1920*1080", L"1920*1200", L"1920*1200", L"2048*1536", L"2560*1600"};

constexpr const wchar_t* FS14Items[] = {L"704*576", L"1280*720", L"1440*1080", L"1920*1080"};

constexpr const wchar_t* FS15Items[] = {L"128*96",  L"176*144", L"160*120",  L"320*240",   L"352*288",  L"368*208",
                                        L"640*480", L"704*576", L"1280*720", L"1440*1080", L"1920*1080"};

constexpr const wchar_t* FS16Items[] = {L"128*96",  L"176*144", L"160*120", L"320*240",  L"352*288",   L"368*208",
                                        L"480*272", L"640*480", L"704*576", L"1280*720", L"1440*1080", L"1920*1080"};

constexpr const wchar_t* FS17Items[] = {L"160*120", L"320*240", L"480*272", L"640*480", L"720*480"};

constexpr const wchar_t* FS18Items[] = {L"320*240", L"640*480"};

constexpr const wchar_t* FS19Items[] = {L"保持原分辨率", L"128*96",  L"176*144", L"240*176", L"320*240",
                                        L"352*240",      L"352*288", L"384*288", L"480*480", L"480*576",
                                        L"640*368",      L"640*480", L"704*480", L"704*576", L"720*480",
                                        L"720*576",      L"800*600", L"852*480", L"1024*768"};

constexpr const wchar_t* FS20Items[] = {L"640*480", L"720*480", L"720*576", L"960*540", L"1024*768", L"1280*720"};

constexpr const wchar_t* VB1Items[] = {L"128 kbps",  L"288 kbps",  L"528 kbps",  L"816 kbps",
                                       L"1200 kbps", L"1600 kbps", L"1800 kbps", L"2000 kbps"};

constexpr const wchar_t* VB2Items[] = {L"128 kbps",  L"288 kbps",  L"528 kbps",  L"768 kbps", L"816 kbps",
                                       L"1200 kbps", L"1600 kbps", L"1800 kbps", L"2000 kbps"};

constexpr const wchar_t* VB3Items[] = {L"128 kbps",  L"288 kbps",  L"528 kbps",  L"816 kbps", L"1000 kbps",
                                       L"1200 kbps", L"1600 kbps", L"1800 kbps", L"2000 kbps"};

constexpr const wchar_t* VB4Items[] = {L"8 kbps",   L"16 kbps",  L"24 kbps",  L"32 kbps",  L"48 kbps",
                                       L"56 kbps",  L"64 kbps",  L"80 kbps",  L"96 kbps",  L"128 kbps",
                                       L"160 kbps", L"192 kbps", L"256 kbps", L"320 kbps", L"384 kbps"};

constexpr const wchar_t* VB5Items[] = {L"128 kbps",  L"288 kbps",  L"528 kbps",  L"600 kbps", L"816 kbps",
                                       L"1200 kbps", L"1600 kbps", L"1800 kbps", L"2000 kbps"};

constexpr const wchar_t* VB6Items[] = {L"无视频"};

constexpr const wchar_t* VB7Items[] = {L"816 kbps",  L"1200 kbps", L"1600 kbps", L"1800 kbps",
                                       L"2000 kbps", L"2500 kbps", L"3000 kbps", L"4000 kbps"};

constexpr const wchar_t* VB8Items[] = {L"192 kbps",  L"384 kbps",  L"600 kbps",  L"768 kbps", L"1000 kbps",
                                       L"1200 kbps", L"1500 kbps", L"1800 kbps", L"2000 kbps"};

constexpr const wchar_t* VB9Items[] = {L"216 kbps",  L"384 kbps",  L"512 kbps", L"768 kbps",
                                       L"1000 kbps", L"1200 kbps", L"1500 kbps"};

constexpr const wchar_t* VB10Items[] = {L"8 kbps",   L"16 kbps",  L"24 kbps",  L"32 kbps",  L"48 kbps",  L"56 kbps",
                                        L"64 kbps",  L"80 kbps",  L"96 kbps",  L"128 kbps", L"160 kbps", L"192 kbps",
                                        L"256 kbps", L"320 kbps", L"384 kbps", L"512 kbps", L"600 kbps"};

constexpr const wchar_t* VB11Items[] = {L"816 kbps",  L"1000 kbps", L"1200 kbps", L"1600 kbps", L"1800 kbps",
                                        L"2000 kbps", L"2500 kbps", L"3000 kbps", L"4000 kbps"};

constexpr const wchar_t* VB12Items[] = {L"528 kbps",  L"768 kbps",  L"816 kbps",  L"1200 kbps", L"1600 kbps",
                                        L"1800 kbps", L"2000 kbps", L"2500 kbps", L"3000 kbps", L"4000 kbps"};

constexpr const wchar_t* AB1Items[] = {L"16 kbps",  L"24 kbps",  L"32 kbps",  L"40 kbps",  L"48 kbps",  L"56 kbps",
                                       L"64 kbps",  L"80 kbps",  L"96 kbps",  L"112 kbps", L"128 kbps", L"144 kbps",
                                       L"160 kbps", L"192 kbps", L"224 kbps", L"256 kbps", L"320 kbps"};

constexpr const wchar_t* AB2Items[] = {L"5 kbps", L"6 kbps", L"7 kbps", L"8 kbps", L"10 kbps", L"12 kbps"};

constexpr const wchar_t* AB3Items[] = {L"4.75 kbps", L"5.15 kbps", L"5.9 kbps",  L"6.7 kbps",
                                       L"7.4 kbps",  L"7.95 kbps", L"10.2 kbps", L"12.2 kbps"};

constexpr const wchar_t* AB4Items[] = {L"64 kbps", L"96 kbps", L"128 kbps", L"160 kbps", L"192 kbps"};

constexpr const wchar_t* AB5Items[] = {L"48 kbps", L"56 kbps",  L"64 kbps",  L"80 kbps",
                                       L"96 kbps", L"112 kbps", L"116 kbps", L"128 kbps"};

constexpr const wchar_t* AB6Items[] = {L"32 kbps", L"48 kbps",  L"56 kbps",  L"64 kbps", L"80 kbps",
                                       L"96 kbps", L"112 kbps", L"116 kbps", L"128 kbps"};

constexpr const wchar_t* AM1Items[] = {L"保持原视频模式", L"普通视频4:3模式", L"宽屏视频16:9模式", L"宽屏视频37:20模式",
                                       L"宽屏视频47:20模式"};

constexpr const wchar_t* AM2Items[] = {L"保持原视频模式", L"普通视频4:3模式"};

constexpr const wchar_t* AM3Items[] = {L"无视频"};

constexpr const wchar_t* FR1Items[] = {L"保持原帧速率", L"10.00", L"13.00", L"15.00", L"18.00", L"20.00",
                                       L"23.00",        L"23.97", L"24.00", L"25.00", L"29.97", L"30.00"};

constexpr const wchar_t* FR2Items[] = {L"1", L"2", L"3", L"5", L"10", L"12", L"15"};

constexpr const wchar_t* FR3Items[] = {L"无视频"};

constexpr const wchar_t* FR4Items[] = {L"保持原帧速率", L"25.00", L"29.97", L"30.00"};

constexpr const wchar_t* FR5Items[] = {L"保持原帧速率", L"10.00", L"12.00", L"15.00", L"20.00",
                                       L"23.98",        L"24.00", L"25.00", L"29.97", L"30.00"};

constexpr const wchar_t* FR6Items[] = {L"15.00", L"23.98", L"29.97"};

constexpr const wchar_t* FR7Items[] = {L"1", L"2", L"3", L"5", L"10", L"12", L"15", L"25"};

constexpr const wchar_t* FR8Items[] = {L"保持原帧速率", L"23.98", L"24.00", L"25.00", L"29.97", L"30.00"};

constexpr const wchar_t* SR1Items[] = {L"11025", L"16000", L"22050", L"32000", L"44100", L"48000"};

constexpr const wchar_t* SR2Items[] = {L"8000"};

constexpr const wchar_t* SR3Items[] = {L"22050", L"32000", L"44100", L"48000"};

constexpr const wchar_t* SR4Items[] = {L"8000", L"11025", L"16000", L"22050", L"32000", L"44100", L"48000"};

constexpr const wchar_t* SR5Items[] = {L"11025", L"22050", L"44100"};

constexpr const wchar_t* SR6Items[] = {L"22050", L"24000", L"32000", L"44100", L"48000"};

const TChoiceList Lists[ChoiceListCount] = {
    {L"FS1", ppFrameSize, FS1Items},      {L"FS2", ppFrameSize, FS2Items},      {L"FS3", ppFrameSize, FS3Items},
    {L"FS4", ppFrameSize, FS4Items},      {L"FS5", ppFrameSize, FS5Items},      {L"FS6", ppFrameSize, FS6Items},
    {L"FS7", ppFrameSize, FS7Items},      {L"FS8", ppFrameSize, FS8Items},      {L"FS9", ppFrameSize, FS9Items},
    {L"FS10", ppFrameSize, FS10Items},    {L"FS11", ppFrameSize, FS11Items},    {L"FS12", ppFrameSize, FS12Items},
    {L"FS13", ppFrameSize, FS13Items},    {L"FS14", ppFrameSize, FS14Items},    {L"FS15", ppFrameSize, FS15Items},
    {L"FS16", ppFrameSize, FS16Items},    {L"FS17", ppFrameSize, FS17Items},    {L"FS18", ppFrameSize, FS18Items},
    {L"FS19", ppFrameSize, FS19Items},    {L"FS20", ppFrameSize, FS20Items},    {L"VB1", ppVideoBitrate, VB1Items},
    {L"VB2", ppVideoBitrate, VB2Items},   {L"VB3", ppVideoBitrate, VB3Items},   {L"VB4", ppVideoBitrate, VB4Items},
    {L"VB5", ppVideoBitrate, VB5Items},   {L"VB6", ppVideoBitrate, VB6Items},   {L"VB7", ppVideoBitrate, VB7Items},
    {L"VB8", ppVideoBitrate, VB8Items},   {L"VB9", ppVideoBitrate, VB9Items},   {L"VB10", ppVideoBitrate, VB10Items},
    {L"VB11", ppVideoBitrate, VB11Items}, {L"VB12", ppVideoBitrate, VB12Items}, {L"AB1", ppAudioBitrate, AB1Items},
    {L"AB2", ppAudioBitrate, AB2Items},   {L"AB3", ppAudioBitrate, AB3Items},   {L"AB4", ppAudioBitrate, AB4Items},
    {L"AB5", ppAudioBitrate, AB5Items},   {L"AB6", ppAudioBitrate, AB6Items},   {L"AM1", ppAspectMode, AM1Items},
    {L"AM2", ppAspectMode, AM2Items},     {L"AM3", ppAspectMode, AM3Items},     {L"FR1", ppFrameRate, FR1Items},
    {L"FR2", ppFrameRate, FR2Items},      {L"FR3", ppFrameRate, FR3Items},      {L"FR4", ppFrameRate, FR4Items},
    {L"FR5", ppFrameRate, FR5Items},      {L"FR6", ppFrameRate, FR6Items},      {L"FR7", ppFrameRate, FR7Items},
    {L"FR8", ppFrameRate, FR8Items},      {L"SR1", ppSampleRate, SR1Items},     {L"SR2", ppSampleRate, SR2Items},
    {L"SR3", ppSampleRate, SR3Items},     {L"SR4", ppSampleRate, SR4Items},     {L"SR5", ppSampleRate, SR5Items},
    {L"SR6", ppSampleRate, SR6Items},
};

}  // namespace

const TChoiceList& ChoiceList(TChoiceListId id) { return Lists[id]; }
