<!DOCTYPE html>
<html lang="tr">
<head>
<meta charset="utf-8">
<title>Mali Müşavir Ana Sayfa</title>
<link rel="stylesheet" href="/portal.css">
<script src="/portal.js"></script>
<script src="/muhasebeci.js"></script>
</head>
<body>
<div id="rpanel1">
  <a id="rpanel1_hlAnaSayfa" href="AnaSayfa.aspx">Ana Sayfa</a>
  <a id="lbtnLogOut" href="#">Çıkış</a>
  <div id="rpanel1_btnYeniListe_CD" class="csc-button"><span>Yeni Liste</span></div>
  <div id="rpanel1_btnYeniMukellefEkle_CD" class="csc-button">Mükellef Ekle</div>
  <table id="rpanel1_grdListe2"><tbody id="listeler"></tbody></table>
  <div id="rpanel1_popUp2" style="display:none; border:1px solid #888; padding:4px">
    <div>Mükellef Ekle <img id="rpanel1_popUp2_HCB-1Img" alt="X" style="display:inline-block; width:16px; height:16px; background:#c00"></div>
    <div id="rpanel1_popUp2_ASPxCallbackPanel2">
      <table><tr><td>Şirket Türü</td><td id="sirketTuru"></td>
        <td id="rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_ddlSirketTuru_B-1">▼</td></tr></table>
      <table id="turListesi" style="display:none">
        <tr class="dxeListBoxItemRow_Office2003_Silver"><td>Anonim Şirket</td></tr>
        <tr class="dxeListBoxItemRow_Office2003_Silver"><td>Limited Şirket</td></tr>
        <tr class="dxeListBoxItemRow_Office2003_Silver"><td>Gerçek Kişi</td></tr>
      </table>
      <input type="text" id="rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_txtKimlikNo2_I">
      <div id="rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_btnSorgula2_CD" class="csc-button">Sorgula</div>
      <div id="sonuc"></div>
    </div>
  </div>
</div>
<script>Muhasebeci.home.init();</script>
</body>
</html>
