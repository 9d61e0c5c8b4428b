<!DOCTYPE html>
<html lang="tr">
<head>
<meta charset="utf-8">
<title>Mali Müşavir Giriş</title>
<link rel="stylesheet" href="/portal.css">
<script src="/portal.js"></script>
<script src="/muhasebeci.js"></script>
</head>
<body>
<div id="rpanel1_ASPxCallbackPanel1" class="csc-login">
  <h1>Mali Müşavir Girişi</h1>
  <table id="rpanel1_ASPxCallbackPanel1_rbKimlikTuru2_RB0"><tr><td><input type="radio" name="kt" value="RB0"></td><td><label>VKN</label></td></tr></table>
  <table id="rpanel1_ASPxCallbackPanel1_rbKimlikTuru2_RB1"><tr><td><input type="radio" name="kt" value="RB1"></td><td><label>TCKN</label></td></tr></table>
  <label>Kimlik No</label> <input type="text" id="rpanel1_ASPxCallbackPanel1_txtKimlikNo2_I">
  <label>Şifre</label> <input type="password" id="rpanel1_ASPxCallbackPanel1_txtSifre_I">
  <div id="rpanel1_ASPxCallbackPanel1_ASPxCallbackPanel2"><img id="rpanel1_ASPxCallbackPanel1_ASPxCallbackPanel2_imgGKodu" width="120" height="40" alt=""></div>
  <label>Güvenlik Kodu</label> <input type="text" id="rpanel1_ASPxCallbackPanel1_txtGuvenlikKelimesi_I">
  <div id="rpanel1_ASPxCallbackPanel1_btnGiris_CD" class="csc-button">Giriş</div>
  <div id="hataYeri"></div>
</div>
<script>Muhasebeci.login.init();</script>
</body>
</html>
