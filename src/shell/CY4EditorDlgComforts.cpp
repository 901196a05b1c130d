// CY4EditorDlg: the recent models offered beside "Load Y4 File", and models dropped on the
// window; both open through the same load as "Load Y4 File".
#include "platform/PathResolver.h"
#include "platform/Prompt.h"
#include "shell/CY4EditorDlg.h"
#include "shell/ModelDropFilter.h"
#include "shell/RecentModels.h"
#include "shell/RecentModelsButton.h"

namespace y4 {

void CY4EditorDlg::createComforts() {
    recentModels_ = std::make_unique<RecentModels>(store_);
    recent_->setModels(recentModels_->models());
    new ModelDropFilter(this, [this](const std::string& path) { openModel(path); });
}

void CY4EditorDlg::rememberRecent(const std::string& path) {
    recentModels_->add(path);
    recent_->setModels(recentModels_->models());
}

void CY4EditorDlg::openRecent(const std::string& path) {
    if (PathResolver::resolveExisting(path)) {
        openModel(path);
        return;
    }
    if (prompt().askYesNo(path + " no longer exists. Remove it from the recent models?")) {
        recentModels_->remove(path);
        recent_->setModels(recentModels_->models());
    }
}

}  // namespace y4
