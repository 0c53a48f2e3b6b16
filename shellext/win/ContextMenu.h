// The context-menu objects: one COM class per suite command, all served by
// TContextMenuBase with that command's row of the class table.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "shellext/HandlerCommands.h"

namespace handler {

// Module-wide state kept by HandlerModule.cpp.
HINSTANCE ModuleInstance();
void ObjectCreated();
void ObjectDestroyed();
// The item glyph of a command, loaded once per library and freed at unload.
HBITMAP CommandBitmap(int index);

class TContextMenuBase : public IShellExtInit, public IContextMenu {
 public:
  explicit TContextMenuBase(int index);
  virtual ~TContextMenuBase();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY key) override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstCmd, UINT lastCmd, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  STDMETHODIMP GetCommandString(UINT_PTR cmd, UINT type, UINT* reserved, CHAR* name, UINT size) override;

 protected:
  const TMenuCommand& Command() const { return kMenuCommands[index_]; }

 private:
  LONG refs_ = 1;
  int index_;
  // The selected path as the engine gets it: in the ANSI code page, as it
  // stands or by its short name, naming exactly the file selected.
  char path_[kMaxPathChars + 1] = {};
  // The selected path has no such form: the command says so and starts nothing.
  bool unnamable_ = false;
};

class TContextMenuEncrypt : public TContextMenuBase {
 public:
  TContextMenuEncrypt() : TContextMenuBase(0) {}
};
class TContextMenuDecrypt : public TContextMenuBase {
 public:
  TContextMenuDecrypt() : TContextMenuBase(1) {}
};
class TContextMenuQuickView : public TContextMenuBase {
 public:
  TContextMenuQuickView() : TContextMenuBase(2) {}
};
class TContextMenuAutoCipher : public TContextMenuBase {
 public:
  TContextMenuAutoCipher() : TContextMenuBase(3) {}
};
class TContextMenuEncExe : public TContextMenuBase {
 public:
  TContextMenuEncExe() : TContextMenuBase(4) {}
};
class TContextMenuShred : public TContextMenuBase {
 public:
  TContextMenuShred() : TContextMenuBase(5) {}
};

// Creates the object of class `index` (an entry of kMenuCommands), or null.
TContextMenuBase* CreateContextMenu(int index);

}  // namespace handler
