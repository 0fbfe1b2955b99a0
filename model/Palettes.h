// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// 64 colours each, as consecutive red, green, blue triples.
extern const unsigned char ildaDefaultPalette[64 * 3];
extern const unsigned char vectrionDefaultPalette[64 * 3];
