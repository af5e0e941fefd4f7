#include "platform/ui/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const platform::ui::MessageMap* CCmdTarget::GetThisMessageMap() {
  static const platform::ui::MessageMap map{nullptr, {}};
  return &map;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
  for (const platform::ui::MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
    for (const platform::ui::MessageEntry& entry : map->entries) {
      if (entry.code != code || id < entry.idFirst || id > entry.idLast) continue;
      if (info) {
        info->pTarget = this;
        return TRUE;
      }
      if (code == CN_UPDATE_COMMAND_UI) {
        auto* cmdUI = static_cast<CCmdUI*>(extra);
        cmdUI->m_bContinueRouting = FALSE;
        entry.call(this, id, extra);
        return cmdUI->m_bContinueRouting ? FALSE : TRUE;
      }
      if (entry.call(this, id, extra)) return TRUE;
    }
  }
  return FALSE;
}

void CCmdUI::Enable(BOOL on) {
  m_bEnabled = on;
  m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int check) { m_nCheck = check; }

void CCmdUI::SetText(std::string_view text) { m_text = std::string(text); }

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler) {
  if (m_nID == 0 || !target) return FALSE;
  m_bEnableChanged = FALSE;
  BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (!handled && disableIfNoHandler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info;
    Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}
