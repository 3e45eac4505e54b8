// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The languages tesseract has installed, as it lists them itself; empty when
// tesseract is not there. Orientation detection ("osd") is no language of
// text and is left out.
class CTesseractLanguages
{
public:
    static std::vector<std::string> Installed();
};
