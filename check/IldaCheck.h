// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/Finding.h"

class QIODevice;

// Checks an ILDA file against the standard, walking it exactly as the viewer's reader does
// (signature scan, header, format, record counts) so that every finding says where the reader
// and other programs part ways. Memory stays the same whatever the file holds.
namespace IldaCheck {

// Reports every finding of the file on device (open for reading, random access) to sink in
// file order; checking stops at the first error, or when progress returns false.
void run(QIODevice& device, const FindingSink& sink,
         const CheckProgress& progress = CheckProgress());

} // namespace IldaCheck
