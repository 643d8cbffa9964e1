#pragma once
// The busy indication of a run, switched off again however the run ends.

#include "platform/interaccion.h"

namespace durlavex {

class IndicacionOcupado {
  public:
    explicit IndicacionOcupado(Interaccion& interaccion) : interaccion_(interaccion) {}
    ~IndicacionOcupado() { Apagar(); }
    IndicacionOcupado(const IndicacionOcupado&) = delete;
    IndicacionOcupado& operator=(const IndicacionOcupado&) = delete;

    void Encender()
    {
        interaccion_.Ocupado(true);
        encendida_ = true;
    }

    // Never throws: it runs while an error is on its way out.
    void Apagar() noexcept
    {
        if (!encendida_)
            return;
        encendida_ = false;
        try {
            interaccion_.Ocupado(false);
        } catch (...) {
        }
    }

  private:
    Interaccion& interaccion_;
    bool encendida_ = false;
};

} // namespace durlavex
