#pragma once

// Registers the native types the screens declare, in the order the screens rely on,
// and the Session singleton that holds the signed-in terminal's state.
void registerBrenvoTypes();
