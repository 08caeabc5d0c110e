#pragma once

#include <array>

// Where each control of the window stands, in twips of the client area (1440 to the inch, 15 to
// a pixel at the default font), with its name and initial caption: written here once, read by
// the window, its tests and the benches' reference window and driver. No toolkit is needed to
// read it.
namespace zav::places {

struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

struct Control
{
    const char *name;
    const char *caption; // initial text; empty where there is none
    Twips twips;
};

inline constexpr Twips kClientArea {0, 0, 7530, 2880};

inline constexpr Control kAddressLabel {"lblIP0", "IP Address", {240, 360, 1695, 375}};
inline constexpr Control kAddress {"txtIpAddress", "127.0.0.1", {240, 720, 1935, 375}};
inline constexpr Control kPortLabel {"lblIP1", "IP Port", {240, 1320, 1695, 255}};
inline constexpr Control kPort {"txtIPPort", "2160", {240, 1560, 2055, 375}};
inline constexpr Control kMessage {"txtSend", "", {3360, 360, 3495, 1575}};
inline constexpr Control kDisconnect {"cmdDisconnect", "Disconnect", {240, 2160, 1095, 375}};
inline constexpr Control kConnect {"cmdConnect", "Connect", {1800, 2160, 1215, 375}};
inline constexpr Control kSend {"cmdSend", "Send", {4440, 2160, 1215, 375}};
// The one line below the buttons.
inline constexpr Control kStatus {"lblStatus", "", {240, 2580, 7050, 270}};

inline constexpr std::array kAll {kAddressLabel, kAddress, kPortLabel, kPort,  kMessage,
                                  kDisconnect,   kConnect, kSend,      kStatus};

// Pixels at the default font: 15 twips to the pixel.
inline constexpr int kTwipsPerPixel = 15;
constexpr int pixels(int twips)
{
    return twips / kTwipsPerPixel;
}

} // namespace zav::places
