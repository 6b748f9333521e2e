// Every text the program looks up in a language file, with its built-in English default, and
// the rules of the language files themselves.
#pragma once

#include <cstddef>
#include <span>
#include <string>

// The one section of a language file that holds the texts.
inline constexpr char kLanguageSection[] = "Linkvane";
// Texts are read into a buffer of this many bytes, the terminating NUL included, so a text keeps
// at most 1999 characters.
inline constexpr std::size_t kLanguageTextBufferSize = 2000;

namespace text {

// Every '*' becomes a line feed (10), so "**" gives an empty line.
std::string ApplyLineBreaks(std::string text);

}  // namespace text

// A language key and the English text shown when the chosen language file lacks it. The English
// text follows the same rules as a file's text: every '*' is shown as a line break.
struct TextEntry {
    const char* key;
    const char* english;
};

// The catalogue as one table, so that the named entries below and text::AllTexts() cannot drift
// apart. Keys are the numbers of texts not tied to one control and the IDC_ names of the controls
// (their spelling, typos included, is what translators' files use). A real line feed in a default
// is a break the English text has on every system; translators write it as '*'.
#define VORNEL_TEXT_CATALOGUE(X)                                                               \
    X(1, "milliseconds")                                                                       \
    X(2, "was set to")                                                                         \
    X(3, "isn't set.")                                                                         \
    X(4, "bytes")                                                                              \
    X(5, "is currently disabled.")                                                             \
    X(6, "is currently enabled.")                                                              \
    X(7, "seconds")                                                                            \
    X(8, "was set to option")                                                                  \
    X(9, "Valid range of RWIN is from MSS to 1073741823.")                                     \
    X(10, "Valid range of RWIN is from MSS to 65535.")                                         \
    X(18, "Vornel")                                                                            \
    X(21, "Step 1 of 8 : Choose Connection Type")                                              \
    X(22, "Step 2 of 8 : Specify MTU Settings")                                                \
    X(23, "Step 3 of 8 : Other MTU Settings")                                                  \
    X(24, "Step 4 of 8 : RWIN Setting")                                                        \
    X(25, "Step 5 of 8 : TTL & Internet Explorer Optimization")                                \
    X(26, "Step 6 of 8 : Keep Alive Settings")                                                 \
    X(27, "Step 7 of 8 : SYN Flood Attack Setting")                                            \
    X(28, "Step 8 of 8 : ICMP Redirect Attack Setting")                                        \
    X(29, "Boost the Modem")                                                                   \
    X(30, "Step 1 of 6 : Choose Connection Type")                                              \
    X(31, "Step 2 of 6 : Specify MTU Settings")                                                \
    X(32, "Step 3 of 6 : Other MTU Settings")                                                  \
    X(33, "Step 4 of 6 : RWIN Setting")                                                        \
    X(34, "Step 5 of 6 : TTL & Internet Explorer Optimization")                                \
    X(35, "Step 6 of 6 : Keep Alive Settings")                                                 \
    X(41,                                                                                      \
      "Congratulation, Vornel has boosted your internet "                                      \
      "connections.\nPlease, restart your computer in order to feel the "                      \
      "change.")                                                                               \
    X(42,                                                                                      \
      "Vornel has reset your system to the backup settings.\nPlease, restart "                 \
      "your computer in order to feel the change.")                                            \
    X(43,                                                                                      \
      "Now, your old connection settings saved as backup will be overwritten "                 \
      "with the current settings as they will be the new backup.\nDo you "                     \
      "want to proceed?")                                                                      \
    X(44,                                                                                      \
      "Vornel could not write all of your connection settings. Please run it "                 \
      "as an administrator and try again.\nYour previous settings are kept "                   \
      "in the backup.")                                                                        \
    X(45,                                                                                      \
      "Vornel needs administrator rights to change your connection settings.\nPlease log "     \
      "on as an administrator and start Vornel again. Nothing has been changed.")              \
    X(46,                                                                                      \
      "Vornel could not save a complete backup of your connection settings, so it has "        \
      "changed nothing.\nYour previous backup, if you had one, is kept as it was.")            \
    X(47, "Failed to reset your connection settings.")                                         \
    X(48,                                                                                      \
      "Vornel could not put all of your original settings back yet. If you go on, that copy "  \
      "is replaced by the settings in force now, some of which are Vornel's. Press Reset "     \
      "Connection Settings again (as an administrator on Windows NT, 2000 and XP) to put "     \
      "them back first. Go on anyway?")                                                        \
    X(49,                                                                                      \
      "Vornel has put back every setting its backup still held. Part of the backup was "       \
      "lost, so Vornel could not check some settings, such as the MTU of network "             \
      "connections it has no record of; they keep the values they have now.\nPlease, "         \
      "restart your computer in order to feel the change.")                                    \
    X(50, "Maximum speed")                                                                     \
    X(51, "Only connect at this speed")                                                        \
    X(52,                                                                                      \
      "Windows could not open this window of Vornel. The common controls of Windows "          \
      "(comctl32.dll), which Vornel needs, may be missing or damaged.")                        \
    X(53,                                                                                      \
      "This backup was made on {backup}. {windows} keeps these settings elsewhere, so Vornel " \
      "cannot put them back here.\nRemove the backup?")                                        \
    X(54,                                                                                      \
      "Vornel has put back your original settings wherever this Windows still reads them. "    \
      "Some belonged to a network adapter or a part of Windows that has changed or gone "      \
      "since the backup was made; Vornel left those as they are.\nPlease, restart your "       \
      "computer in order to feel the change.")                                                 \
    X(55,                                                                                      \
      "Windows' own settings are back: Vornel has removed the values it sets. What was set "   \
      "before is kept in the backup, and Reset Connection Settings puts it back.\nPlease, "    \
      "restart your computer in order to feel the change.")                                    \
    X(56, "After Reset")                                                                       \
    X(57, "Windows default")                                                                   \
    X(58, "What Reset will put back")                                                          \
    X(59, "Windows' own defaults")                                                             \
    X(60, "Restore Defaults")                                                                  \
    X(61, "Close")                                                                             \
    X(62, "not set")                                                                           \
    X(63, "Browser")                                                                           \
    X(64, "Interface")                                                                         \
    X(65, "Dial-Up Adapter")                                                                   \
    X(66, "Adapter")                                                                           \
    X(67, "Nothing differs from the backup: Reset has nothing to put back.")                   \
    X(68, "Windows' own defaults are in force already: there is nothing to restore.")          \
    X(79,                                                                                      \
      "Failed to detect your Windows version so we can't boost your "                          \
      "connection.")                                                                           \
    X(ID_WIZBACK, "< &Back")                                                                   \
    X(ID_WIZNEXT, "&Next >")                                                                   \
    X(IDCANCEL, "Cancel")                                                                      \
    X(IDC_step2_RADIO_DialUp, "Dial Up Connection (&Modem).")                                  \
    X(IDC_step2_RADIO_CableModem, "&Cable Modem.")                                             \
    X(IDC_step2_RADIO_DSL, "&Digital Subscriber Line (DSL).")                                  \
    X(IDC_step2_RADIO_LAN, "&LAN Connection (Ethernet).")                                      \
    X(IDC_static_step2_Explain, "How do you connect to the internet?")                         \
    X(IDC_static_step3_MTUExplain,                                                             \
      "MTU stands for Maximum Transmission Unit and in basic terms, it "                       \
      "defines the maximum size of a packet that can be transferred in one "                   \
      "frame over a network.**MTU")                                                            \
    X(IDC_static_step3_MSSExplain,                                                             \
      "MSS or Maximum Segment Size defines how much actual data can put in "                   \
      "that packet, and it is therefore a marginally smaller value than MTU "                  \
      "to allow for packet addressing and other information.**MSS")                            \
    X(IDC_static_RecommendedMTU, "Recommended MTU size  :  %d bytes.")                         \
    X(IDC_static_RecommendedMSS, "Recommended MSS size  :  %d bytes.")                         \
    X(IDC_chk_MTUDiscovery, "Disable It?")                                                     \
    X(IDC_chk_BlackHoleDetection, "Enable It?")                                                \
    X(IDC_static_step4_MTUDiscoveryExplain,                                                    \
      "Remote networks also have an MTU value, which is almost always "                        \
      "different from that of the local network. Enabling this registry key "                  \
      "tells TCP/IP to try to automatically detect the MTU for all networks "                  \
      "along the path to a remote host. Once TCP/IP knows the MTU for all "                    \
      "networks along a path, it can avoid using MTU values that are too "                     \
      "high, thus avoiding packet fragmentation and the performance problems "                 \
      "that come with it.**Remote networks' MTU")                                              \
    X(IDC_static_step4_BlackHoeDetectExplain,                                                  \
      "Black hole routers are configured not to return the Destination Host "                  \
      "Unreachable messages that are used by path MTU discovery. Normally, "                   \
      "when TCP/IP performs path MTU discovery, the process works by sending "                 \
      "out a packet of data with the DF (Don't Fragment) bit set. If the PC "                  \
      "sending out the packet receives a Destination Host Unreachable "                        \
      "message, it means that the MTU for that particular network may be too "                 \
      "high; in this case, TCP/IP will try to use a lower value.**Black hole "                 \
      "routers")                                                                               \
    X(IDC_static_MTUDiscovery, "Recommended to be ENABLED.")                                   \
    X(IDC_static_BlackHoleDetect,                                                              \
      "Recommended to be DISABLED since it imposes extra transmission "                        \
      "overhead.")                                                                             \
    X(IDC_static_step5_Explain,                                                                \
      "RWIN (Receive WINdow) is the maximum TCP Receive Window size offered "                  \
      "by the system.*The receive window specifies the number of bytes a "                     \
      "sender may transmit without receiving an acknowledgment.**In general, "                 \
      "larger receive windows will improve performance over high (delay . "                    \
      "bandwidth) networks.**For highest efficiency, the receive window "                      \
      "should be an even multiple of the TCP Maximum Segment Size "                            \
      "(MSS).**RWIN")                                                                          \
    X(IDC_static_RecommendedRWIN, "Recommended RWIN size  :  %d bytes.")                       \
    X(IDC_STATIC_SCALING_FACTOR, "Scaling Factor")                                             \
    X(IDC_STATIC_MULTIPLIER, "Multiplier")                                                     \
    X(IDC_static_step6_Explain,                                                                \
      "The value of TTL (Time To Live) defines how long a packet can stay "                    \
      "active before being discarded.**TTL")                                                   \
    X(IDC_static_RecommendedTTL, "Recommended TTL  :  %d seconds.")                            \
    X(IDC_IE_GROUP_BOX, "Internet Explorer Optimization")                                      \
    X(IDC_IE_OPTIMIZATION,                                                                     \
      "Optimize Internet Explorer by setting the maximum number of "                           \
      "simultaneous requests for accessing type 1.0 or 1.1 HTTP servers.")                     \
    X(IDC_CURRENT_HTTP_1_0, "HTTP 1.0 value")                                                  \
    X(IDC_RECOMMENDED_HTTP_1_0, "Recommended value for HTTP 1.0  :  %d.")                      \
    X(IDC_CURRENT_HTTP_1_1, "HTTP 1.1 value")                                                  \
    X(IDC_RECOMMENDED_HTTP_1_1, "Recommended value for HTTP 1.1  :  %d.")                      \
    X(IDC_static_step7_KeepAliveTimeExplain,                                                   \
      "Keep Alive Time is the number of milliseconds to wait before sending "                  \
      "keep alive packets, which are used in order to tell the network that "                  \
      "you are still online so that the connection won't be "                                  \
      "disconnected.**Keep Alive Time")                                                        \
    X(IDC_static_step7_KeepLAliveIntervalExplain,                                              \
      "Keep Alive Interval is the time in milliseconds between "                               \
      "retransmissions of keepalives, once the Keep Alive Time has "                           \
      "expired.**Keep Alive Interval")                                                         \
    X(IDC_static_RecommendedKeepAliveTime, "Recommended Keep Alive Time  :  %d milliseconds.") \
    X(IDC_static_RecommendedKeepAliveInterval,                                                 \
      "Recommended Keep Alive Interval  :  %d milliseconds.")                                  \
    X(IDC_static_step8_SYNExplain,                                                             \
      "Windows includes protection that allows it to detect and adjust when "                  \
      "the system is being targeted with a SYN flood attack (a type of "                       \
      "denial of service attack). When enabled the connection responses time "                 \
      "out more quickly in the event of an attack.")                                           \
    X(IDC_static_RecommendedSYN,                                                               \
      "0 - (default) - typical protection against SYN attacks.*1 - better "                    \
      "protection against SYN attacks.*2 - (recommended) - best protection "                   \
      "against SYN attacks.**This value adds additional delays to connection "                 \
      "indications, and TCP connection requests quickly timesout when a SYN "                  \
      "attack is in progress.**This value")                                                    \
    X(IDC_STATIC_SYN, "What will be your decision?")                                           \
    X(IDC_chk_ICMP, "Enable It?")                                                              \
    X(IDC_static_step9_ICMPExplain,                                                            \
      "Your computer may stop responding (hang) or the computer's "                            \
      "performance may degrade drastically when connected to an internetwork "                 \
      "segment or to the Internet.")                                                           \
    X(IDC_static_step9_ICMPExplain2,                                                           \
      "The Performance tool's Processor Utilization object may indicate 100 "                  \
      "percent utilization.")                                                                  \
    X(IDC_static_step9_ICMPExplain3,                                                           \
      "If the computer is disconnected from the network segment or the "                       \
      "Internet and then restarted, the problem does not occur again until "                   \
      "the computer is reconnected to the network segment or Internet.")                       \
    X(IDC_static_step9_ICMPExplain4,                                                           \
      "This problem is caused by the receipt of multiple Internet Control "                    \
      "Message Protocol (ICMP) Redirect packets that are used to change "                      \
      "routing table entries. Too many ICMP Redirect packets in a short "                      \
      "period of time may cause Windows to dedicate an inordinate amount of "                  \
      "CPU time to update the routing table and cause the computer to stop "                   \
      "responding. In many cases, this scenario indicates a denial of "                        \
      "service attack through the use of a program to send multiple ICMP "                     \
      "Redirect packets against a specific TCP/IP address.**ICMP")                             \
    X(IDC_RecommendedICMP, "Recommended to be DISABLED.")                                      \
    X(IDC_DESCRIBTION,                                                                         \
      "You are equipped with an internal or external analog 56K modem?\nIt "                   \
      "is possible for you to boost the speed of the port on which it is "                     \
      "connected.\nOriginally, when you click on Control panel then "                          \
      "Modem\\Properties, you see that the maximum speed of the COM port is "                  \
      "limited to 115200 bps.\n\nHere we will add 3 additional port speeds "                   \
      "(230400, 460800, 921600 bps).\n\nYou need to test each speed manually "                 \
      "to find the suitable speed based on your modem model.")                                 \
    X(IDC_static_Introduction,                                                                 \
      "Are you bored from your internet connection speed?*Do you need faster "                 \
      "internet surfing?*Do you want to keep your connection secure?*Do you "                  \
      "want to speed up your modem , DSL and LAN connection speed?*Do you "                    \
      "want to add more speeds greater than 115200 to your modem "                             \
      "settings?*Are you bored from trying out different internet settings "                   \
      "in order to get more speedy internet connections and nothing "                          \
      "happen?*Do you want to speed up your internet connection without any "                  \
      "networking and communication background required?*Do you want to "                      \
      "achieve all this just by a couple of mouse clicks?**Vornel offers you "                 \
      "all these capabilities and more, just follow the instructions to have "                 \
      "your own speed internet connections.**No more different settings "                      \
      "trying, Vornel will try for you those settings to give you the most "                   \
      "appropriate settings for your own system.")                                             \
    X(IDC_HINT,                                                                                \
      "Vornel will save your original settings, so if you feel that Vornel "                   \
      "doesn't speed up your conection, you can reset your connection "                        \
      "settings by simply click the 'Reset Connection Settings' Button.**So "                  \
      "Good Luck ...")                                                                         \
    X(IDC_SET_SETTINGS, "&Set Connection Settings")                                            \
    X(IDC_RESET_SETTINGS, "&Reset Connection Settings")                                        \
    X(IDC_SHOW_CHANGES, "Show &Changes")                                                       \
    X(IDC_WINDOWS_DEFAULTS, "Windows &Defaults")                                               \
    X(IDC_Language, "Language")                                                                \
    X(IDOK, "OK")                                                                              \
    X(IDC_STATIC2, "Version")                                                                  \
    X(IDC_CHANGES_SETTING, "Setting")                                                          \
    X(IDC_CHANGES_NOW, "Now")

namespace text {
// One constant per key, named "k" followed by the key: text::k41, text::kIDC_HINT, text::kIDOK.
#define VORNEL_DEFINE_TEXT(key, english) inline constexpr TextEntry k##key{#key, english};
VORNEL_TEXT_CATALOGUE(VORNEL_DEFINE_TEXT)
#undef VORNEL_DEFINE_TEXT

// Every entry of the catalogue: the numbered texts in ascending order, then the control texts in
// the order in which the windows show them.
std::span<const TextEntry> AllTexts();

// A text with each of its fields ("{backup}") replaced by what the program puts there. The
// text is the language file's, taken as it stands: only the named fields are replaced, once,
// left to right, and what goes in is never searched again; a field the text lacks is left
// out, and anything else in braces stays as written.
struct TextField {
    std::string_view name;  // with its braces
    std::string_view value;
};
std::string FillIn(std::string_view text, std::span<const TextField> fields);

// The translators' template (lang/English.ini): a comment header, the section, then one line
// "key=text" per entry in text::AllTexts() order, each line feed of a default written as '*'. Lines
// end with CR LF.
std::string RenderLanguageTemplate();

}  // namespace text
