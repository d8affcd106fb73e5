#include "SubmitPlan.h"

#include <algorithm>
#include <utility>

#include "ServerRequests.h"
#include "StringIds.h"

SubmitPlan::SubmitPlan(ParameterHandler store) : store(std::move(store)) {}

void SubmitPlan::Take(const std::string& section, const Parameter& edited, const std::string& loadedValue) {
    ParameterSection& target = store.FindSection(section);
    if (!edited.IsUnchanged(loadedValue)) {
        // Only what the user changed: whatever else changed in the file since
        // it was shown stays as the file has it.
        target.SetValue(edited.GetKey(), edited.GetValue());
        changed = true;
    }
    Parameter& stored = target.ParameterAt(target.IndexOf(edited.GetKey()));
    // What the file will say: the user's change, or what the file held when
    // this submit read it (which may differ from what the page showed, when
    // another program changed the file meanwhile).
    Parameter sent = edited;
    sent.SetValue(stored.GetValue());
    const std::string type = edited.GetType();
    if (type == "NoCheck" || (type == "EditCheck" && edited.GetCheckState() == 1)) stored.AppendWriteMark();
    if (stored.IsFactoryDefaultRequest()) rowQuestions.push_back(StringId::ConfirmFactoryDefaults);
    if (stored.IsRestartRequest()) rowQuestions.push_back(StringId::ConfirmRestart);

    auto held = std::find_if(submitted.begin(), submitted.end(),
                             [&](const ParameterSection& s) { return s.GetName() == section; });
    if (held == submitted.end()) held = submitted.insert(submitted.end(), ParameterSection(section));
    held->Append(sent);
}

bool SubmitPlan::CarriesPendingFactoryReset() const {
    return AsksFactoryDefaults(store) &&
           std::find(rowQuestions.begin(), rowQuestions.end(), StringId::ConfirmFactoryDefaults) == rowQuestions.end();
}

std::vector<int> SubmitPlan::Questions() const {
    std::vector<int> questions;
    if (CarriesPendingFactoryReset()) questions.push_back(StringId::ConfirmFactoryDefaults);
    questions.insert(questions.end(), rowQuestions.begin(), rowQuestions.end());
    return questions;
}

void SubmitPlan::Write() {
    const bool restart = AsksRestart();
    AddRestartToFactoryDefaults(store);
    store.Write();
    written = true;
    restartSent = restart;
}

ParameterHandler SubmitPlan::ReleaseWritten() {
    ParameterHandler released = std::move(store);
    store = ParameterHandler();
    return released;
}

bool SubmitPlan::ConfirmedBy(const ParameterHandler& readBack) const {
    for (const ParameterSection& sent : submitted) {
        ParameterSection back;
        try {
            back = readBack.GetSection(sent.GetName());
        } catch (const ParameterHandler::ParameterError&) {
            return false;
        }
        // The read-back parameters of the submitted keys, in their order; a
        // key the server dropped is a value it did not keep.
        ParameterSection kept(sent.GetName());
        for (int i = 0; i < sent.GetParameterCount(); ++i) {
            const int at = back.IndexOf(sent.ParameterAt(i).GetKey());
            if (at < 0) return false;
            kept.Append(back.ParameterAt(at));
        }
        if (!kept.OnlyNoValidSubmitChanged(sent)) return false;
    }
    return true;
}

int SubmitPlan::SuccessMessage(CatalogueKind kind) {
    return kind == Configuration ? StringId::SubmittedRestartNeeded : StringId::Submitted;
}
