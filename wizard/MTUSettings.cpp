// The MTU and MSS page: for each, an explanation with the value in force, the
// recommendation for the connection type, and an edit.
#include "wizard/MTUSettings.h"

CMTUSettings::CMTUSettings(wizard::WizardState& state) : CWizardPage(wizard::kPageMtu, state) {}

void CMTUSettings::Recommend() {
    wizard::WizardState& state = State();
    const wizard::MtuRecommendation r = wizard::RecommendMtu(state.connectionType);
    state.chosen.mtu = r.mtu;
    state.chosen.mss = r.mss;
    state.recommended.mtu = entries.mtu = state.chosen.mtu;
    state.recommended.mss = entries.mss = state.chosen.mss;
}
