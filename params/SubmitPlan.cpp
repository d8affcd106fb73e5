#include "SubmitPlan.h"

#include <algorithm>
#include <utility>

#include "ServerRequests.h"
#include "StringIds.h"

namespace {

constexpr const char* ServerSection = "Server";
constexpr const char* RestartKey = "Restart";

const Parameter& parameterOf(const ParameterHandler& store, const std::string& section, const std::string& key) {
    for (int s = 0; s < store.GetSectionCount(); ++s) {
        const ParameterSection& held = store.SectionAt(s);
        if (held.GetName() == section) return held.ParameterAt(held.IndexOf(key));
    }
    throw ParameterHandler::ParameterError(store.GetPath(), "no section [" + section + "]");
}

}  // namespace

SubmitPlan::SubmitPlan(ParameterHandler store) : store(std::move(store)) {
    this->store.GetValue(ServerSection, RestartKey, restartBefore);
}

void SubmitPlan::noteBefore(const std::string& section, const std::string& key) {
    for (const Change& change : touched) {
        if (change.section == section && change.key == key) return;
    }
    std::string value;
    store.GetValue(section, key, value);
    touched.push_back({section, key, value, {}});
}

ChangeSet SubmitPlan::Changes() const {
    ChangeSet changes{store.GetShare() ? store.GetShare()->NameOf(store.GetPath()) : store.GetPath(), {}};
    for (const Change& before : touched) {
        const Parameter& now = parameterOf(store, before.section, before.key);
        if (!now.HasSameValue(before.oldValue)) changes.changes.push_back({before.section, before.key, before.oldValue, now.GetValue()});
    }
    // A factory reset takes a restart with it: Write sets Restart to yes
    // whatever was taken for it, so that is the change, before Write as after.
    std::string restart;
    if (sendsRequests && AsksFactoryDefaults(store) && store.GetValue(ServerSection, RestartKey, restart)) {
        std::erase_if(changes.changes, [](const Change& c) { return c.section == ServerSection && c.key == RestartKey; });
        if (restartBefore != "yes") changes.changes.push_back({ServerSection, RestartKey, restartBefore, "yes"});
    }
    return changes;
}

void SubmitPlan::Take(const std::string& section, const Parameter& edited, const std::string& loadedValue) {
    ParameterSection& target = store.FindSection(section);
    if (target.IndexOf(edited.GetKey()) >= 0) noteBefore(section, edited.GetKey());
    sendsRequests = true;
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
    const ControlType type = edited.GetType();
    if (type == ControlType::NoCheck || (type == ControlType::EditCheck && edited.GetCheckState() == 1)) {
        stored.AppendWriteMark();
    }
    if (stored.IsFactoryDefaultRequest()) rowQuestions.push_back(StringId::ConfirmFactoryDefaults);
    if (stored.IsRestartRequest()) rowQuestions.push_back(StringId::ConfirmRestart);

    auto held = std::find_if(submitted.begin(), submitted.end(),
                             [&](const ParameterSection& s) { return s.GetName() == section; });
    if (held == submitted.end()) held = submitted.insert(submitted.end(), ParameterSection(section));
    held->Append(sent);
}

void SubmitPlan::Set(const std::string& section, const std::string& key, const std::string& value, bool verified) {
    std::string held;
    if (store.GetValue(section, key, held)) noteBefore(section, key);
    store.SetValue(section, key, value);
    settings.push_back({section, key, value, verified});
}

bool SubmitPlan::CarriesPendingFactoryReset() const {
    return sendsRequests && AsksFactoryDefaults(store) &&
           std::find(rowQuestions.begin(), rowQuestions.end(), StringId::ConfirmFactoryDefaults) == rowQuestions.end();
}

std::vector<int> SubmitPlan::Questions() const {
    std::vector<int> questions;
    if (CarriesPendingFactoryReset()) questions.push_back(StringId::ConfirmFactoryDefaults);
    questions.insert(questions.end(), rowQuestions.begin(), rowQuestions.end());
    return questions;
}

void SubmitPlan::CheckWritable() const {
    if (sendsRequests) CheckRestartToFactoryDefaults(store);
}

void SubmitPlan::Write() {
    const bool restart = AsksRestart();
    if (sendsRequests) AddRestartToFactoryDefaults(store);
    bytesBefore = store.GetBytes();
    store.Write();
    written = true;
    restartSent = restart;
}

ParameterHandler SubmitPlan::ReleaseWritten() {
    ParameterHandler released = std::move(store);
    store = ParameterHandler();
    return released;
}

std::vector<SubmitPlan::Verdict> SubmitPlan::Verdicts(const ParameterHandler& readBack) const {
    std::vector<Verdict> verdicts;
    for (const ParameterSection& sent : submitted) {
        const ParameterSection* back = nullptr;
        for (int s = 0; s < readBack.GetSectionCount() && !back; ++s) {
            if (readBack.SectionAt(s).GetName() == sent.GetName()) back = &readBack.SectionAt(s);
        }
        for (int i = 0; i < sent.GetParameterCount(); ++i) {
            const Parameter& value = sent.ParameterAt(i);
            Verdict verdict;
            verdict.section = sent.GetName();
            verdict.key = value.GetKey();
            verdict.sent = value.GetValue();
            const int at = back ? back->IndexOf(value.GetKey()) : -1;
            if (at >= 0) {
                // Judged as a page's whole section is: a parameter the
                // server does not confirm after a submit counts as kept.
                ParameterSection kept(sent.GetName()), given(sent.GetName());
                kept.Append(back->ParameterAt(at));
                given.Append(value);
                verdict.present = true;
                verdict.now = back->ParameterAt(at).GetValue();
                verdict.kept = kept.OnlyNoValidSubmitChanged(given);
            }
            verdicts.push_back(std::move(verdict));
        }
    }
    judgeSettings(readBack, verdicts);
    return verdicts;
}

void SubmitPlan::judgeSettings(const ParameterHandler& readBack, std::vector<Verdict>& verdicts) const {
    for (const Setting& setting : settings) {
        Verdict verdict;
        verdict.section = setting.section;
        verdict.key = setting.key;
        verdict.sent = setting.value;
        verdict.present = readBack.GetValue(setting.section, setting.key, verdict.now);
        verdict.kept = !setting.verified || verdict.now == setting.value;
        verdicts.push_back(std::move(verdict));
    }
}

bool SubmitPlan::ConfirmedBy(const ParameterHandler& readBack) const {
    const std::vector<Verdict> verdicts = Verdicts(readBack);
    return std::all_of(verdicts.begin(), verdicts.end(), [](const Verdict& verdict) { return verdict.kept; });
}

int SubmitPlan::SuccessMessage(CatalogueKind kind) {
    return kind == Configuration ? StringId::SubmittedRestartNeeded : StringId::Submitted;
}
