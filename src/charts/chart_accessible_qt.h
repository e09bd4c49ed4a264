#pragma once

// What assistive technology learns of a chart. The view paints its boxes, so
// no widget carries them: its accessible object has each box as a child of its
// own, made when first asked for (a chart may hold half a million), focusable,
// named by what the box says, with a press action that shows the person's page
// as Enter does and a focus action that moves the focus box there.

namespace stirpex {

// Makes the accessibility layer describe every chart view this way. Safe to
// call more than once; a chart view calls it when it is made.
void InstallChartAccessibility();

} // namespace stirpex
