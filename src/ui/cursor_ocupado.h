#pragma once
// The application-wide busy cursor (the hourglass) of a run.
//
// Qt keeps override cursors on a stack; this object pushes at most one and
// pops exactly the one it pushed, so a run that ends by any road leaves the
// cursor as it found it.

namespace durlavex::ui {

class CursorOcupado {
  public:
    CursorOcupado() = default;
    ~CursorOcupado() { Fijar(false); }
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;

    // On: the hourglass over the whole application; off: the normal cursor.
    // Repeating the current state does nothing.
    void Fijar(bool ocupado);
    bool Activo() const { return activo_; }

  private:
    bool activo_ = false;
};

// The normal cursor while a dialog or message box waits for the person in
// the middle of a run, the hourglass again afterwards.
class PausaCursorOcupado {
  public:
    explicit PausaCursorOcupado(CursorOcupado& cursor) : cursor_(cursor), estaba_(cursor.Activo())
    {
        cursor_.Fijar(false);
    }
    ~PausaCursorOcupado() { cursor_.Fijar(estaba_); }
    PausaCursorOcupado(const PausaCursorOcupado&) = delete;
    PausaCursorOcupado& operator=(const PausaCursorOcupado&) = delete;

  private:
    CursorOcupado& cursor_;
    bool estaba_;
};

} // namespace durlavex::ui
