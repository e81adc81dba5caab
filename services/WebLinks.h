// The web links: the two addresses on the publisher's site, tagged with the version.
#pragma once

#include <string>

#include "platform/WindowServices.h"

// The two pages of the publisher's web site the game links to, each tagged with the version:
//   1  the game's own page    2  the publisher's home page
// The address of link `n`, or "" for a number without a link.
std::string webLinkAddress(int n);

// Hands link `n` to the desktop to open in the default browser; the game does not wait for it.
// A number without a link opens nothing.
void openWebLink(WindowServices& system, int n);

// The publisher's web address, shown as plain text on the settings screen.
std::string publisherAddress();
