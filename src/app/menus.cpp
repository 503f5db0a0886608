// The menu bars as data.
#include "menus.h"

#include <iterator>

#include "workspace/workspace.h"

namespace orx::app {

namespace {

constexpr MenuItem popup(const char* en, const char* zh) { return {MenuItem::Popup, 0, en, zh}; }
constexpr MenuItem item(int32_t id) { return {MenuItem::Command, id, nullptr, nullptr}; }
constexpr MenuItem sep() { return {MenuItem::Separator, 0, nullptr, nullptr}; }
constexpr MenuItem end() { return {MenuItem::End, 0, nullptr, nullptr}; }

// The menus every bar carries after its own: the commands no menu of the
// web edition sends, so that each command of the table can be reached.
#define ORX_MORE_MENUS                                                                                   \
    popup("Image", "影像"),                                                                               \
        popup("Open", "開啟"), item(32771), item(32773), item(32815), item(32864), item(32914),          \
        item(32922), item(32772), item(32843), item(32943), item(32973), item(32871), end(),             \
        popup("Save", "儲存"), item(32775), item(32776), item(32778), item(32836), item(32837),          \
        item(32913), item(32923), item(32944), sep(), item(32865), item(32867), item(32868),             \
        item(32869), item(32870), item(32924), item(32975), end(),                                       \
        sep(), item(32779), item(32829), sep(), item(32932), item(32933), item(32964), item(32965),      \
        item(32966), sep(), item(32971), item(32976), sep(), item(32899), item(32967), item(32901),      \
        sep(), item(32850), item(57609), item(57608), end(),                                             \
    popup("Mask", "型版"),                                                                                \
        item(32782), item(32783), sep(), item(32786), item(32787), item(32788), item(32789), sep(),      \
        item(32790), item(32862), item(32926), item(32945), sep(), item(32972), item(32977), sep(),      \
        item(32895), item(32896), item(32897), item(32898), sep(), item(32820), item(32821),             \
        item(32822), item(32823), item(32873), item(32948), item(32949), item(32952), item(32953),       \
        item(32802), item(32939), item(32905), item(32910), item(32906), item(32907), item(32908),       \
        end(),                                                                                           \
    popup("Filters", "濾鏡"),                                                                             \
        item(32877), item(32878), item(32879), item(32885), item(32884), item(32881), item(32880),       \
        item(32925), sep(), item(32969), item(32970), sep(), item(32882), item(32883), end(),            \
    popup("Tools", "工具"),                                                                               \
        item(32830), item(32832), item(32848), sep(), item(32819), item(32792), item(32793),             \
        item(32794), item(32849), item(32946), item(32947), item(32950), item(32951), item(32954),       \
        item(32955), item(32956), item(32903), item(32904), item(32915), item(32801), item(32803),       \
        item(32916), item(32917), item(32941), item(32938), item(32937), item(32799), item(32844),       \
        sep(), item(32846), item(32847), sep(), item(32889), item(32894), item(32892), item(32893),      \
        item(32890), item(32891), sep(), item(32804), item(32968), sep(), item(32812), item(32875),      \
        item(32876), sep(), item(32963), item(32940), item(57664), end(),                                \
    popup("Mesh", "網格"),                                                                                \
        item(32886), item(32774), item(32777), item(32810), sep(), item(32854), item(32874),             \
        item(32957), item(32872), item(32861), sep(), item(32863), item(32958), sep(), item(32855),      \
        item(32856), item(32857), item(32858), item(32859), item(32860), item(32911), item(32912),       \
        item(32959), item(32960), item(32961), item(32962), item(32900), end(),                          \
    popup("Library", "資料庫"),                                                                           \
        item(32806), item(32807), item(32845), item(32808), item(32814), item(32817), item(32833),       \
        item(32834), item(32835), item(32888), sep(), item(32929), item(32930), item(32931), sep(),      \
        item(32838), item(32918), item(32839), item(32840), item(32841), item(32887), item(32919),       \
        item(32920), item(32921), item(32974), end()

#define ORX_SIMULATION_ITEMS                                                                             \
    item(32851), item(32852), item(32942), item(32853), sep(), item(32927), item(32928), sep(),          \
        item(32934), item(32935), item(32936)

const MenuItem kMenu128[] = {
    popup("&File", "&File"), item(57607), item(57609), sep(), item(57665), end(),
    popup("&Edit", "&Edit"), item(32971), item(32976), item(32972), item(32977), end(),
    popup("&View", "&View"), item(32791), item(32784), end(),
    popup("&Help", "&Help"), item(32781), item(32780), item(57664), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, sep(), item(32876), end(),
    ORX_MORE_MENUS,
};

const MenuItem kMenu129[] = {
    popup("File", "檔案管理"), item(57607), item(57665), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, end(),
    popup("View", "視窗"), item(32791), item(32784), end(),
    popup("Help", "說明"), item(32781), item(32780), end(),
    ORX_MORE_MENUS,
    item(32818),
};

const MenuItem kMenu130[] = {
    popup("File", "檔案管理"), item(32771), item(32775), item(32865), sep(), item(57607), sep(), item(57665), end(),
    popup("Auto Simulation", "自動材質模擬"), ORX_SIMULATION_ITEMS, sep(), item(32876), end(),
    popup("View", "視窗"), item(32791), item(32784), end(),
    popup("Help", "說明"), item(32781), item(32780), end(),
    ORX_MORE_MENUS,
    item(32818),
};

#undef ORX_MORE_MENUS
#undef ORX_SIMULATION_ITEMS

}  // namespace

std::span<const MenuItem> menuBarItems(int32_t menuBar)
{
    switch (menuBar) {
    case MenuChinese: return kMenu129;
    case MenuEnglish: return kMenu130;
    default: return kMenu128;
    }
}

int32_t menuBarOf(int32_t language)
{
    return language == LangTaiwan ? MenuChinese : language == LangEnglish ? MenuEnglish : MenuDefault;
}

int32_t menuLanguage(int32_t menuBar) { return menuBar == MenuChinese ? LangTaiwan : LangEnglish; }

}  // namespace orx::app
