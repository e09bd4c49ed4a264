#pragma once

// What assistive technology learns of the person page. The page paints its
// own text, so no widget carries it: its accessible object gives the page's
// text as its value and each link of the last paint as a child of its own,
// focusable, named by its text, with a press action that follows it as a
// click would and a focus action that frames it as Tab would.

namespace stirpex {

// Makes the accessibility layer describe every person page this way. Safe to
// call more than once; a page view calls it when it is made.
void InstallPageAccessibility();

} // namespace stirpex
