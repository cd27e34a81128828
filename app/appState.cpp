#include "app/appState.h"

AppState appState;

void initializeStaticState()
{
    // In the order the settings window lists them.
    appState.fontFamilies = {L"Arial", L"Calibri", L"Courier New", L"Georgia", L"Segoe Script", L"Times New Roman"};
    appState.randomEngine.seed(std::mt19937::default_seed);
    if (!appState.backgroundBrush)
        appState.backgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
}

namespace {
// Runs before wWinMain, in this file's static initialisation, right after appState is built.
const bool staticStateReady = (initializeStaticState(), true);
}  // namespace
